#!/usr/bin/python3
"""Writes what the Windows setup ships besides NMaker's own: THIRD-PARTY-NOTICES.txt and the
licence texts under licenses\\, from the Qt source the check builds and the mingw packages.

    notices.py STAGEDIR ROOT QT_SOURCE QT_VERSION QT_DEBIAN_VERSION NMAKER_VERSION
"""
import json
import os
import shutil
import sys

# Qt's own copies of other libraries that Core, Gui and Widgets are built with here.
QT_THIRD_PARTY = ["zlib", "pcre2", "double-conversion", "tinycbor", "easing", "sha3", "blake2",
                  "rfc6234", "md4", "md5", "sha1", "harfbuzz-ng", "freetype", "libpng", "libjpeg",
                  "md4c", "icc"]
MINGW = [
    ("the GCC runtime (libstdc++-6.dll, libgcc_s_seh-1.dll)",
     "GPL-3.0 with the GCC Runtime Library Exception 3.1",
     "/usr/share/doc/gcc-mingw-w64-base/copyright", "gcc-runtime.txt"),
    ("mingw-w64's winpthreads (libwinpthread-1.dll)", "ZPL-2.1 and MIT",
     "/usr/share/doc/mingw-w64-common/copyright", "mingw-w64.txt"),
]


def attributions(qt_source, name):
    path = os.path.join(qt_source, "src", "3rdparty", name, "qt_attribution.json")
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as f:
        data = json.loads(f.read(), strict=False)  # Qt's files hold raw line breaks
    return data if isinstance(data, list) else [data]


def main():
    stage, root, qt_source, qt_version, qt_debver, version = sys.argv[1:7]
    licenses = os.path.join(stage, "licenses")
    shutil.rmtree(licenses, ignore_errors=True)
    os.makedirs(licenses)
    shutil.copy(os.path.join(root, "LICENSE"), os.path.join(stage, "LICENSE.txt"))
    for text in ("LGPL-3.0-only.txt", "GPL-3.0-only.txt"):
        shutil.copy(os.path.join(qt_source, "LICENSES", text), licenses)

    lines = [
        "NMaker %s: the software of others in this installation" % version,
        "",
        "NMaker itself is released under the MIT licence: LICENSE.txt.",
        "",
        "Qt %s (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, platforms\\qwindows.dll, styles\\*.dll)"
        % qt_version,
        "  Copyright (C) The Qt Company Ltd. and other contributors.",
        "  Used under the GNU Lesser General Public License version 3 (licenses\\LGPL-3.0-only.txt),",
        "  which adds to the GNU General Public License version 3 (licenses\\GPL-3.0-only.txt).",
        "  Built unchanged from Debian's qt6-base source package, version %s, with Debian's" % qt_debver,
        "  patches: https://sources.debian.org/src/qt6-base/%s/" % qt_debver,
        "  The build's configuration is tools/windows/check in NMaker's source. The DLLs are loaded",
        "  from this folder, so another build of Qt %s can take their place." % qt_version,
        "  Qt's Japanese translation (translations\\qtbase_ja.qm) is Debian's, from its",
        "  qt6-translations source package, under the same licence.",
        "",
        "  Qt is built here with these libraries of others inside it:",
    ]
    for name in QT_THIRD_PARTY:
        for a in attributions(qt_source, name):
            files = a.get("LicenseFile", "")
            copied = []
            for file in [f.strip() for f in files.split(",") if f.strip()]:
                source = os.path.join(qt_source, "src", "3rdparty", name, a.get("Path", ""), file)
                if not os.path.exists(source):
                    source = os.path.join(qt_source, "src", "3rdparty", name, file)
                if os.path.exists(source):
                    target = os.path.join(licenses, "qt-" + a.get("Id", name))
                    os.makedirs(target, exist_ok=True)
                    shutil.copy(source, target)
                    copied.append("licenses\\qt-%s\\%s" % (a.get("Id", name), os.path.basename(file)))
            lines.append("  - %s %s: %s" % (a.get("Name", name), a.get("Version", ""),
                                            a.get("License", "")))
            for c in a.get("Copyright", "").splitlines():
                if c.strip():
                    lines.append("      " + c.strip())
            for c in copied:
                lines.append("      " + c)
    lines.append("")
    for what, licence, source, target in MINGW:
        shutil.copy(source, os.path.join(licenses, target))
        lines += ["%s" % what[0].upper() + what[1:], "  %s: licenses\\%s" % (licence, target), ""]

    with open(os.path.join(stage, "THIRD-PARTY-NOTICES.txt"), "w", encoding="utf-8",
              newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
