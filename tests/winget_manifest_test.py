#!/usr/bin/python3
"""The winget manifest as the Windows check renders it for a setup passes the schema's rules;
each way a manifest could go wrong is caught.

    winget_manifest_test.py MANIFEST_PY VERSION
"""
import hashlib
import importlib.util
import os
import sys
import tempfile
import unittest

found = importlib.util.spec_from_file_location("manifest", sys.argv[1])
manifest = importlib.util.module_from_spec(found)
found.loader.exec_module(manifest)
VERSION = sys.argv[2]
SHA = "0123456789abcdef" * 4


class Manifest(unittest.TestCase):
    def rendered(self, edit=None, rename=None):
        out = tempfile.mkdtemp()
        self.addCleanup(lambda: [os.remove(os.path.join(out, n)) for n in os.listdir(out)])
        manifest.render(out, VERSION, SHA)
        if edit:
            name, old, new = edit
            path = os.path.join(out, name)
            with open(path, encoding="utf-8") as f:
                body = f.read()
            self.assertIn(old, body)
            with open(path, "w", encoding="utf-8") as f:
                f.write(body.replace(old, new, 1))
        if rename:
            os.rename(os.path.join(out, rename[0]), os.path.join(out, rename[1]))
        return manifest.check(out, VERSION)

    def test_rendered_passes(self):
        self.assertEqual(self.rendered(), [])

    def test_a_setup_file_gives_its_digest(self):
        with tempfile.NamedTemporaryFile() as setup:
            setup.write(b"setup")
            setup.flush()
            out = tempfile.mkdtemp()
            manifest.render(out, VERSION, setup.name)
            with open(os.path.join(out, "NMaker.NMaker.installer.yaml"), encoding="utf-8") as f:
                body = f.read()
            digest = hashlib.sha256(b"setup").hexdigest().upper()
            self.assertEqual(body.count("InstallerSha256: " + digest), 2)
            self.assertEqual(manifest.check(out, VERSION), [])

    def test_faults(self):
        inst = "NMaker.NMaker.installer.yaml"
        loc = "NMaker.NMaker.locale.ja-JP.yaml"
        cases = {
            "a digest cut short": ((inst, SHA.upper(), SHA.upper()[:63]), None, "InstallerSha256"),
            "another installer type": ((inst, "InstallerType: nullsoft", "InstallerType: nsis"),
                                       None, "InstallerType"),
            "a field the schema lacks": ((inst, "UpgradeBehavior: install",
                                          "UpgradeBehavior: install\nRebootRequired: false"),
                                         None, "RebootRequired"),
            "another version": ((loc, "PackageVersion: " + VERSION, "PackageVersion: 9.9.9"),
                                None, "version 9.9.9"),
            "no licence": ((loc, "License: MIT\n", ""), None, "lacks License"),
            "a plain-http or missing URL": ((inst, "InstallerUrl: https://", "InstallerUrl: ftp://"),
                                            None, "InstallerUrl"),
            "a tag with a blank": ((loc, "  - batch", "  - batch run"), None, "Tags"),
            "not NSIS's silent switch": ((inst, "Silent: /S", "Silent: /quiet"), None, "/S"),
            "a misnamed file": (None, (loc, "NMaker.NMaker.locale.en-US.yaml"), "should be named"),
        }
        for what, (edit, rename, said) in cases.items():
            with self.subTest(what):
                faults = self.rendered(edit, rename)
                self.assertTrue(any(said in f for f in faults), faults)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
