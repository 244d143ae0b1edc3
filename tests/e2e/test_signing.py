"""Signing, the step product teams run after the builder: the shipped
x86-64 installer and an installer made by nebpack, each signed with
osslsigncode and a certificate made here (a throw-away authority and a
code-signing certificate it issued), verified against that authority, and
installed silently from the signed file. A signed file changed afterwards,
or checked against another authority, does not verify."""
import os
import shutil
import subprocess

import pytest

import neb
import product
from product_cases import FOLDER, SILENT, ProductCase

SIGNER_NAME = "Orrinthwake test signing"


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, capture_output=True)


def make_authority(folder, name):
    """A self-signed certificate authority: (certificate, key) paths."""
    key, cert = os.path.join(folder, name + ".key"), os.path.join(folder, name + ".pem")
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert, "-days", "2",
            "-subj", "/CN=" + name, "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    return cert, key


def make_signer(folder, authority):
    """A code-signing certificate issued by the authority: (certificate,
    key) paths."""
    key, request = os.path.join(folder, "signer.key"), os.path.join(folder, "signer.csr")
    cert, extensions = os.path.join(folder, "signer.pem"), os.path.join(folder, "signer.ext")
    with open(extensions, "w") as f:
        f.write("basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n")
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", request, "-subj", "/CN=" + SIGNER_NAME)
    openssl("x509", "-req", "-in", request, "-CA", authority[0], "-CAkey", authority[1], "-CAcreateserial",
            "-out", cert, "-days", "2", "-extfile", extensions)
    return cert, key


def osslsigncode(*args):
    return subprocess.run(["osslsigncode", *args], capture_output=True, text=True)


def sign(signer, unsigned, signed):
    """The README's command for product teams, without a timestamp."""
    result = osslsigncode("sign", "-certs", signer[0], "-key", signer[1], "-n", "Lumetrica", "-h", "sha256",
                          "-in", unsigned, "-out", signed)
    assert result.returncode == 0, result.stdout + result.stderr


def verified(authority_cert, signed):
    result = osslsigncode("verify", "-CAfile", authority_cert, "-in", signed)
    return result.returncode == 0, result.stdout + result.stderr


@pytest.fixture(scope="module")
def certificates(tmp_path_factory):
    folder = str(tmp_path_factory.mktemp("certificates"))
    authority = make_authority(folder, "Throw-away test authority")
    return {"authority": authority, "signer": make_signer(folder, authority),
            "other authority": make_authority(folder, "Another authority")}


@pytest.mark.parametrize("variant", [product.SHIPPED_VARIANT, product.NEBPACK_VARIANT], indirect=True)
class TestSignedInstaller(ProductCase):
    @pytest.fixture(autouse=True)
    def _signed(self, certificates, variant, tmp_path):
        self.certificates = certificates
        signed = os.path.join(str(tmp_path), "signed.exe")
        sign(certificates["signer"], product.installer_program(variant), signed)
        # Installers run from the prefix's own drive, as downloads do.
        self.signed = neb.stage(signed, "setup.exe")

    def test_the_signature_verifies_against_its_authority_only(self):
        ok, output = verified(self.certificates["authority"][0], self.signed)
        self.assertTrue(ok, output)
        self.assertIn(SIGNER_NAME, output)
        self.assertFalse(verified(self.certificates["other authority"][0], self.signed)[0])

        # One byte of the installer's payload changed after signing.
        changed = self.signed + ".changed.exe"
        shutil.copyfile(self.signed, changed)
        with open(changed, "r+b") as f:
            f.seek(os.path.getsize(changed) // 2)
            byte = f.read(1)
            f.seek(-1, os.SEEK_CUR)
            f.write(bytes([byte[0] ^ 0xFF]))
        self.assertFalse(verified(self.certificates["authority"][0], changed)[0])

    def test_the_signed_file_installs_silently(self):
        result = neb.run(self.signed, SILENT, timeout=180, **product.collector_env(self.collector))
        self.assertEqual(result.returncode, 0)
        self.assertInstalledIn(FOLDER)
        self.assertEqual(product.record("HKLM", product.UNINSTALL_KEY, "QuietUninstallString"),
                         '"%s\\Uninstall.exe" /S' % FOLDER)
        self.assertEqual(product.service_state(), "running")
