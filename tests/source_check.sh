#!/usr/bin/env bash
# The source tree's own rules: every file as the repository's .clang-format writes it, and no
# circle between the folders of src/ (a folder includes from another only if that one never
# includes back, directly or round about).
#   tests/source_check.sh SOURCE_DIR
set -uo pipefail
root=${1:?source folder}
cd "$root" || exit 2
status=0

mapfile -t files < <(find src tests bench -name '*.cpp' -o -name '*.h' | sort)
if ! command -v clang-format >/dev/null; then
  echo "source check: clang-format is not installed (Debian: apt-get install clang-format)" >&2
  exit 1
fi
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/nmaker-format.$$; then
  grep -E '^[^ ].*: (error|warning):' /tmp/nmaker-format.$$ | cut -d: -f1 | sort -u |
    sed 's/^/not formatted: /' >&2
  echo "source check: run clang-format -i on the files above" >&2
  status=1
fi
rm -f /tmp/nmaker-format.$$

# The folder of a source file: src/core/X or src/ui/X, else src/X.
folder_of() {
  local IFS=/ parts
  read -ra parts <<<"$1"
  if [ "${parts[1]}" = core ] || [ "${parts[1]}" = ui ]; then
    [ ${#parts[@]} -gt 3 ] && { echo "src/${parts[1]}/${parts[2]}"; return; }
  fi
  echo "src/${parts[1]}"
}

pairs=()
for f in "${files[@]}"; do
  [[ $f == src/* ]] || continue
  from=$(folder_of "$f")
  while IFS= read -r inc; do
    for c in "$(dirname "$f")/$inc" "src/core/$inc" "src/ui/$inc" "src/$inc"; do
      if [ -f "$c" ]; then
        to=$(folder_of "$(realpath --relative-to=. "$c")")
        [ "$to" != "$from" ] && pairs+=("$from $to")
        break
      fi
    done
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"]+)".*/\1/p' "$f")
done
if ! printf '%s\n' "${pairs[@]}" | sort -u | tsort >/dev/null 2>/tmp/nmaker-tsort.$$; then
  echo "source check: the folders of src/ include each other in a circle:" >&2
  sed -n 's/^tsort: //p' /tmp/nmaker-tsort.$$ >&2
  status=1
fi
rm -f /tmp/nmaker-tsort.$$
exit $status
