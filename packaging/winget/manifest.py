#!/usr/bin/python3
"""NMaker's winget manifest: rendered from the templates here for one setup, and checked
against the rules of winget's manifest schema 1.6.0 (the fields this manifest may use, their
patterns and bounds). Validating with winget itself needs Windows.

    manifest.py render OUT_DIR VERSION SETUP_EXE_OR_SHA256 [URL]
    manifest.py check DIR VERSION
"""
import hashlib
import os
import re
import sys

import yaml

HERE = os.path.dirname(os.path.abspath(__file__))
MANIFEST_VERSION = "1.6.0"
DEFAULT_URL = "https://nmaker.github.io/download/NMaker-{version}-setup.exe"

NO_SPACE = r"^\S+$"
IDENTIFIER = r'^[^\.\s\\/:\*\?"<>\|\x01-\x1f]{1,32}(\.[^\.\s\\/:\*\?"<>\|\x01-\x1f]{1,32}){1,7}$'
VERSION = r'^[^\\/:\*\?"<>\|\x01-\x1f]+$'
LOCALE = r"^([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*$"
URL = r"^([Hh][Tt][Tt][Pp][Ss]?)://.+$"


def text(low, high, pattern=None):
    def check(value):
        if not isinstance(value, str):
            return "is not a string"
        if not low <= len(value) <= high:
            return "has %d characters, not %d to %d" % (len(value), low, high)
        if pattern and not re.match(pattern, value):
            return "does not match %s" % pattern
        return None
    return check


def one_of(*values):
    return lambda v: None if v in values else "is not one of %s" % ", ".join(values)


def items(check, most, unique=True):
    def each(value):
        if not isinstance(value, list) or not 1 <= len(value) <= most:
            return "is not a list of 1 to %d" % most
        if unique and len(set(map(str, value))) != len(value):
            return "repeats an item"
        for v in value:
            fault = check(v)
            if fault:
                return "item %r %s" % (v, fault)
        return None
    return each


def mapping(fields, required=()):
    def check(value):
        if not isinstance(value, dict):
            return "is not a mapping"
        for key in required:
            if key not in value:
                return "lacks %s" % key
        for key, v in value.items():
            if key not in fields:
                return "has %s, which the schema does not allow" % key
            fault = fields[key](v)
            if fault:
                return "%s %s" % (key, fault)
        return None
    return check


COMMON = {
    "PackageIdentifier": text(1, 128, IDENTIFIER),
    "PackageVersion": text(1, 128, VERSION),
    "ManifestType": one_of("version", "installer", "defaultLocale", "locale"),
    "ManifestVersion": text(5, 20, r"^\d{1,5}(\.\d{1,5}){2}$"),
}
SWITCHES = mapping({k: text(1, 512) for k in ("Silent", "SilentWithProgress", "Interactive",
                                              "InstallLocation", "Log", "Upgrade")}
                   | {"Custom": text(1, 2048)})
INSTALLER_FIELDS = {
    "InstallerType": one_of("msix", "msi", "appx", "exe", "zip", "inno", "nullsoft", "wix",
                            "burn", "pwa", "portable"),
    "Scope": one_of("user", "machine"),
    "InstallModes": items(one_of("interactive", "silent", "silentWithProgress"), 3),
    "InstallerSwitches": SWITCHES,
    "UpgradeBehavior": one_of("install", "uninstallPrevious", "deny"),
    "ElevationRequirement": one_of("elevationRequired", "elevationProhibited", "elevatesSelf"),
    "ProductCode": text(1, 255),
    "Commands": items(text(1, 40, NO_SPACE), 16),
    "AppsAndFeaturesEntries": items(mapping({
        "DisplayName": text(1, 256), "Publisher": text(1, 256), "DisplayVersion": text(1, 128),
        "ProductCode": text(1, 255)}), 128),
}
INSTALLER = mapping(INSTALLER_FIELDS | {
    "Architecture": one_of("x86", "x64", "arm", "arm64", "neutral"),
    "InstallerUrl": text(1, 2048, URL),
    "InstallerSha256": text(64, 64, r"^[A-Fa-f0-9]{64}$"),
}, required=("Architecture", "InstallerUrl", "InstallerSha256"))
SCHEMAS = {
    "version": mapping(COMMON | {"DefaultLocale": text(1, 20, LOCALE)},
                       required=("PackageIdentifier", "PackageVersion", "DefaultLocale",
                                 "ManifestType", "ManifestVersion")),
    "installer": mapping(COMMON | INSTALLER_FIELDS | {"Installers": items(INSTALLER, 1024,
                                                                          unique=False)},
                         required=("PackageIdentifier", "PackageVersion", "Installers",
                                   "ManifestType", "ManifestVersion")),
    "defaultLocale": mapping(COMMON | {
        "PackageLocale": text(1, 20, LOCALE), "Publisher": text(2, 256),
        "PublisherUrl": text(1, 2048, URL), "PackageName": text(2, 256),
        "PackageUrl": text(1, 2048, URL), "License": text(3, 512),
        "LicenseUrl": text(1, 2048, URL), "Copyright": text(3, 512),
        "ShortDescription": text(3, 256), "Description": text(3, 10000),
        "Moniker": text(1, 40, NO_SPACE), "Tags": items(text(1, 40, NO_SPACE), 16)},
        required=("PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher",
                  "PackageName", "License", "ShortDescription", "ManifestType",
                  "ManifestVersion")),
}


def render(out, version, setup, url=None):
    sha = setup if re.match(r"^[A-Fa-f0-9]{64}$", setup) else None
    if not sha:
        with open(setup, "rb") as f:
            sha = hashlib.sha256(f.read()).hexdigest()
    url = url or DEFAULT_URL.format(version=version)
    os.makedirs(out, exist_ok=True)
    for name in sorted(os.listdir(HERE)):
        if not name.endswith(".yaml.in"):
            continue
        with open(os.path.join(HERE, name), encoding="utf-8") as f:
            body = f.read()
        body = body.replace("@VERSION@", version).replace("@SHA256@", sha.upper())
        body = body.replace("@URL@", url)
        with open(os.path.join(out, name[:-3]), "w", encoding="utf-8") as f:
            f.write(body)


def check(folder, version):
    faults, manifests = [], {}
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".yaml"):
            continue
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            data = yaml.load(f, Loader=yaml.BaseLoader)  # every scalar as the text it is
        kind = data.get("ManifestType") if isinstance(data, dict) else None
        if kind not in SCHEMAS:
            faults.append("%s: no ManifestType this manifest knows" % name)
            continue
        fault = SCHEMAS[kind](data)
        if fault:
            faults.append("%s: %s" % (name, fault))
        manifests[name] = data

    found = {d.get("ManifestType"): (n, d) for n, d in manifests.items()}
    for kind in SCHEMAS:
        if kind not in found:
            faults.append("no %s manifest" % kind)
    if faults:
        return faults
    ident = found["version"][1]["PackageIdentifier"]
    expected = {
        "version": ident + ".yaml",
        "installer": ident + ".installer.yaml",
        "defaultLocale": "%s.locale.%s.yaml" % (ident, found["version"][1]["DefaultLocale"]),
    }
    for kind, (name, data) in found.items():
        if name != expected[kind]:
            faults.append("%s should be named %s" % (name, expected[kind]))
        if data["PackageIdentifier"] != ident:
            faults.append("%s is of %s, not %s" % (name, data["PackageIdentifier"], ident))
        if str(data["PackageVersion"]) != version:
            faults.append("%s is of version %s, not %s" % (name, data["PackageVersion"], version))
        if data["ManifestVersion"] != MANIFEST_VERSION:
            faults.append("%s is of schema %s" % (name, data["ManifestVersion"]))
    if found["defaultLocale"][1]["PackageLocale"] != found["version"][1]["DefaultLocale"]:
        faults.append("the default locale's manifest is of another locale")
    installer = found["installer"][1]
    if installer.get("InstallerType") != "nullsoft":
        faults.append("the installer is not NSIS's (nullsoft)")
    switches = installer.get("InstallerSwitches", {})
    if switches.get("Silent") != "/S" or switches.get("SilentWithProgress") != "/S":
        faults.append("the silent switches are not NSIS's /S")
    for entry in installer.get("AppsAndFeaturesEntries", []):
        if str(entry.get("DisplayVersion")) != version:
            faults.append("Apps & features would show version %s" % entry.get("DisplayVersion"))
    return faults


def main():
    if len(sys.argv) >= 5 and sys.argv[1] == "render":
        render(sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5] if len(sys.argv) > 5 else None)
        return 0
    if len(sys.argv) == 4 and sys.argv[1] == "check":
        faults = check(sys.argv[2], sys.argv[3])
        for fault in faults:
            print("winget manifest:", fault)
        return 1 if faults else 0
    print(__doc__.strip(), file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main())
