#!/usr/bin/python3
"""The English translation, translations/nmaker_en.ts: Japanese is the source language.

    translations.py update [TSV...]   lupdate over src/ into the .ts; English for new texts taken
                                      from TSV files (context, source, disambiguation, english,
                                      tab-separated, C escapes)
    translations.py check [LUPDATE]   every text of the sources has English in the .ts, and the
                                      .ts holds no unfinished or vanished entry
"""
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TS = os.path.join(ROOT, "translations", "nmaker_en.ts")
LUPDATE = "/usr/lib/qt6/bin/lupdate"


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            n = text[i + 1]
            if n == "x":
                # As C reads it: every hex digit that follows.
                j = i + 2
                while j < len(text) and text[j] in "0123456789abcdefABCDEF":
                    j += 1
                out.append(chr(int(text[i + 2:j], 16)))
                i = j
                continue
            out.append({"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"'}.get(n, "\\" + n))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


# lupdate writes the characters XML cannot hold (CR, the catalogue's insert codes) as
# <byte value="xd"/> elements inside the text.
def text_of(element):
    if element is None:
        return ""
    parts = [element.text or ""]
    for child in element:
        if child.tag == "byte":
            value = child.get("value", "")
            parts.append(chr(int(value[1:], 16) if value.startswith("x") else int(value)))
        parts.append(child.tail or "")
    return "".join(parts)


def set_text(element, text):
    for child in list(element):
        element.remove(child)
    element.text = None
    last = None
    for c in text:
        if ord(c) < 0x20 and c not in "\n\t":
            last = ET.SubElement(element, "byte", value="x%x" % ord(c))
            last.tail = ""
        elif last is None:
            element.text = (element.text or "") + c
        else:
            last.tail += c


def lupdate(ts, lupdate_program=LUPDATE):
    sources = []
    for top in ("src",):
        for folder, _, files in os.walk(os.path.join(ROOT, top)):
            sources += [os.path.join(folder, f) for f in files if f.endswith((".cpp", ".h"))]
    sources.sort()
    with tempfile.NamedTemporaryFile("w", suffix=".lst", delete=False) as lst:
        lst.write("\n".join(sources) + "\n")
    try:
        done = subprocess.run([lupdate_program, "-silent", "-locations", "none", "-no-obsolete",
                               "-source-language", "ja_JP", "-target-language", "en_US",
                               "@" + lst.name, "-ts", ts], capture_output=True, text=True)
    finally:
        os.unlink(lst.name)
    if done.returncode != 0:
        sys.stderr.write(done.stdout + done.stderr)
        raise SystemExit("lupdate failed")
    return done.stdout + done.stderr


def messages(ts):
    """{(context, source, disambiguation): (translation, finished)}"""
    found = {}
    for context in ET.parse(ts).getroot().iter("context"):
        name = context.findtext("name")
        for m in context.iter("message"):
            t = m.find("translation")
            key = (name, text_of(m.find("source")), text_of(m.find("comment")))
            finished = t is not None and t.get("type") not in ("unfinished", "vanished",
                                                               "obsolete")
            found[key] = (text_of(t), finished)
    return found


def update(tsv_files):
    english = {}
    for tsv in tsv_files:
        with open(tsv, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                line = line.rstrip("\n")
                if not line.strip():
                    continue
                parts = line.split("\t")
                if len(parts) != 4:
                    raise SystemExit("%s:%d: not four columns" % (tsv, number))
                context, source, comment, text = parts
                english[(context, unescape(source), unescape(comment))] = unescape(text)
    said = lupdate(TS)
    if said.strip():
        print(said.strip())
    tree = ET.parse(TS)
    missing = []
    for context in tree.getroot().iter("context"):
        name = context.findtext("name")
        for m in context.iter("message"):
            t = m.find("translation")
            key = (name, text_of(m.find("source")), text_of(m.find("comment")))
            if t is not None and t.get("type") == "unfinished":
                if key in english:
                    set_text(t, english[key])
                    del t.attrib["type"]
                else:
                    missing.append(key)
    tree.write(TS, encoding="utf-8", xml_declaration=True)
    # lupdate's own layout again, so that the next update changes only what changed.
    lupdate(TS)
    for key in missing:
        print("no English: %s: %r%s" % (key[0], key[1], " (%s)" % key[2] if key[2] else ""))
    return 1 if missing else 0


def check(lupdate_program):
    committed = messages(TS)
    unfinished = [k for k, (_, finished) in committed.items() if not finished]
    with tempfile.TemporaryDirectory() as tmp:
        fresh_ts = os.path.join(tmp, "fresh.ts")
        lupdate(fresh_ts, lupdate_program)
        fresh = set(messages(fresh_ts))
    faults = ["no English in the .ts: %s: %r" % (k[0], k[1]) for k in unfinished]
    faults += ["a text of the sources is not in the .ts (run tools/translations.py update): "
               "%s: %r" % (k[0], k[1]) for k in sorted(fresh - set(committed))]
    faults += ["the .ts holds a text the sources no longer have: %s: %r" % (k[0], k[1])
               for k in sorted(set(committed) - fresh)]
    for fault in faults:
        print("translation:", fault)
    if not faults:
        print("translation: %d texts, every one with English" % len(committed))
    return 1 if faults else 0


def main():
    if len(sys.argv) >= 2 and sys.argv[1] == "update":
        return update(sys.argv[2:])
    if len(sys.argv) in (2, 3) and sys.argv[1] == "check":
        return check(sys.argv[2] if len(sys.argv) == 3 else LUPDATE)
    print(__doc__.strip(), file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main())
