#!/usr/bin/python3
"""The manual pages against the programs: the same commands, each with the same options in its
synopsis as in --help's usage, every option of --help described, and the version.

    man_pages_check.py NMAKER_CLI NMAKER MAN_DIR
"""
import os
import re
import subprocess
import sys
import tempfile

OPTION = re.compile(r"(?<![\w\\-])(--[a-z][a-z0-9-]*|-[0-9a-z])(?![\w-])")


def run(program, *args):
    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/config",
                   XDG_STATE_HOME=home + "/state", XDG_DATA_HOME=home + "/data",
                   XDG_CACHE_HOME=home + "/cache", QT_QPA_PLATFORM="offscreen")
        done = subprocess.run([program, *args], env=env, capture_output=True, text=True,
                              check=True)
        return done.stdout


def help_usage(text):
    """{command: options} from the usage lines, and every option the help names."""
    usage, command = {}, None
    for line in text.splitlines():
        start = re.match(r"^  nmaker ([a-z][a-z-]*)\b(.*)", line)
        if start:
            command = start.group(1)
            usage[command] = set(OPTION.findall(start.group(2)))
        elif command and re.match(r"^ {16}\[", line):
            usage[command] |= set(OPTION.findall(line))
        else:
            command = None
    return usage, set(OPTION.findall(text))


def roff_text(path):
    with open(path, encoding="utf-8") as f:
        lines = [l for l in f.read().splitlines() if not l.startswith('.\\"')]
    text = "\n".join(lines)
    return re.sub(r"\\f[BIRP]", "", text).replace("\\-", "-")


def section(text, name):
    match = re.search(r"^\.SH %s\n(.*?)(?=^\.SH |\Z)" % name, text, re.S | re.M)
    return match.group(1) if match else ""


def man_usage(text, program):
    usage = {}
    for block in section(text, "SYNOPSIS").split(".br\n"):
        start = re.match(r"\.B %s ([a-z][a-z-]*)\n" % re.escape(program), block)
        if start:
            usage[start.group(1)] = set(OPTION.findall(block[start.end():]))
    return usage


def main():
    cli, gui, man_dir = sys.argv[1:4]
    faults = []
    help_text = run(cli, "--help")
    version = run(cli, "--version").strip()
    usage, help_options = help_usage(help_text)
    if not usage:
        faults.append("--help shows no command")
    if run(gui, "--help") != help_text:
        faults.append("nmaker --help and nmaker-cli --help differ")

    cli_page = roff_text(os.path.join(man_dir, "nmaker-cli.1"))
    page_usage = man_usage(cli_page, "nmaker-cli")
    if set(page_usage) != set(usage):
        faults.append("commands: --help %s, nmaker-cli.1 %s" % (sorted(usage), sorted(page_usage)))
    for command in sorted(set(usage) & set(page_usage)):
        if usage[command] != page_usage[command]:
            faults.append("%s: --help %s, nmaker-cli.1 %s"
                          % (command, sorted(usage[command]), sorted(page_usage[command])))
    described = set(OPTION.findall(section(cli_page, "OPTIONS")))
    if described != help_options:
        faults.append("options only in --help: %s; only in nmaker-cli.1: %s"
                      % (sorted(help_options - described), sorted(described - help_options)))

    gui_page = roff_text(os.path.join(man_dir, "nmaker.1"))
    description = section(gui_page, "DESCRIPTION")
    unnamed = [c for c in sorted(usage) if not re.search(r"(?<![\w-])%s(?![\w-])" % c, description)]
    if unnamed:
        faults.append("nmaker.1 names no %s" % unnamed)

    for name, page in (("nmaker-cli.1", cli_page), ("nmaker.1", gui_page)):
        title = re.search(r'^\.TH \S+ 1 \S+ "([^"]*)"', page, re.M)
        if not title or title.group(1) != version:
            faults.append("%s is of %s, the program says %s"
                          % (name, title.group(1) if title else "no version", version))

    for fault in faults:
        print("man pages:", fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
