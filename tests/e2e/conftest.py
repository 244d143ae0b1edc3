"""Fixtures shared by the end-to-end suites."""
import os
import shutil
import tempfile

import pytest

import neb


@pytest.fixture
def c_drive_tmp_path():
    """A fresh folder on the prefix's C: drive, removed after the test: for
    files a program is to find under C: rather than under Z:, the drive
    that maps the whole Unix tree (pytest's own tmp_path)."""
    folder = tempfile.mkdtemp(prefix="neb-", dir=os.path.join(neb.PREFIX, "drive_c"))
    yield folder
    shutil.rmtree(folder, ignore_errors=True)
