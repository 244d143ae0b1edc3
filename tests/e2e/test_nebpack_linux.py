"""nebpack's Linux build (build/linux/nebpack): for the same inputs it
writes the same bytes as the Windows build, from either base program; its
resource writer gives what the system's resource-update API gives; and the
installer it makes installs the product silently under Wine."""
import filecmp
import os
import shutil

import pytest

import neb
import pe_resources
import product
from product_cases import FOLDER, ProductCase

X86_BASE = os.path.join(os.path.dirname(os.path.abspath(neb.BUILD_DIR)), "x86", "app", "NEBInstaller.exe")


def full_options(folder, base):
    options = product.nebpack_inputs(folder)
    options["--base"] = base
    options["--icon"] = os.path.join(product.SOURCE_DIR, "res", "installer.ico")
    options["--version-from"] = os.path.join(options["--product"], "Lumetrica.exe")
    return options


@pytest.mark.parametrize("base", [neb.build_path("app", "NEBInstaller.exe"), X86_BASE], ids=["x86-64", "i686"])
def test_the_linux_and_windows_builds_write_the_same_bytes(tmp_path, base):
    options = full_options(str(tmp_path), base)
    on_windows, on_linux = str(tmp_path / "windows.exe"), str(tmp_path / "linux.exe")
    windows = product.nebpack(product.nebpack_arguments(options, on_windows))
    linux = product.linux_nebpack(options, on_linux)
    assert (windows.returncode, linux.returncode) == (0, 0), windows.stderr + linux.stderr
    assert linux.stdout == "nebpack: wrote %s\n" % on_linux
    assert filecmp.cmp(on_windows, on_linux, shallow=False)


def test_the_linux_build_refuses_what_the_windows_build_refuses(tmp_path):
    # One problem of each checker: a script, the settings, the product
    # folder and the skin, each named with its place.
    options = product.nebpack_inputs(str(tmp_path))
    product.replace_in(options["--install"], "function NEBSE_AfterComplete()", "function AfterComplete()")
    settings = str(tmp_path / "global_var.lua")
    shutil.copyfile(options["--settings"], settings)
    product.replace_in(settings, "global_app_id = 145", 'global_app_id = tonumber("145")')
    options["--settings"] = settings
    skin = tmp_path / "skin"
    shutil.copytree(options["--skin"], skin)
    os.remove(skin / "Image" / "CheckOn.svg")
    options["--skin"] = str(skin)
    output = str(tmp_path / "setup.exe")
    windows = product.nebpack(product.nebpack_arguments(options, output))
    linux = product.linux_nebpack(options, output)
    assert (windows.returncode, linux.returncode) == (1, 1)

    def places(stderr):
        """Each problem without its folder: the two builds name files by their own paths."""
        return [line.replace("\\", "/").rsplit("/", 1)[-1] for line in stderr.splitlines()]

    assert places(linux.stderr) == places(windows.stderr)
    assert "instscript.lua: the event function NEBSE_AfterComplete is not defined" in places(linux.stderr)
    assert any(line.startswith("global_var.lua:") and "the settings call a function" in line
               for line in places(linux.stderr))
    assert any('picture "Image/CheckOn.svg" is not in the skin' in line for line in linux.stderr.splitlines())
    assert not os.path.exists(output)


def test_the_resources_read_back_as_the_system_writes_them(tmp_path):
    # Another product, skin and icon than the base carries: an extra file in
    # each folder, and an icon of one image where the base's has more, so
    # that icon images go as well.
    base = neb.build_path("app", "NEBInstaller.exe")
    options = full_options(str(tmp_path), base)
    for option in ("--product", "--skin"):
        copy = tmp_path / option.strip("-")
        shutil.copytree(options[option], copy)
        (copy / "extra.txt").write_text("more\n")
        options[option] = str(copy)
    options["--version-from"] = os.path.join(options["--product"], "Lumetrica.exe")
    with open(options["--icon"], "rb") as f:
        icon = f.read()
    size, offset = (int.from_bytes(icon[6 + at:10 + at], "little") for at in (8, 12))
    one_image = tmp_path / "one.ico"
    one_image.write_bytes(icon[:4] + (1).to_bytes(2, "little") + icon[6:18] + (22).to_bytes(4, "little")
                          + icon[offset:offset + size])
    options["--icon"] = str(one_image)
    ours = str(tmp_path / "linux.exe")
    assert product.linux_nebpack(options, ours).returncode == 0
    before, after = pe_resources.resources(base), pe_resources.resources(ours)
    assert set(before) - set(after) == {(3, n, 1033) for n in range(2, 1 + int.from_bytes(icon[4:6], "little"))}
    assert {key[:2] for key in after if before.get(key) != after[key]} >= {
        ("_7Z", "APP.7Z"), ("ZIP", 249), (14, 128), ("LUA", "INSTSCRIPT.LUAC")}

    # The system's BeginUpdateResource/UpdateResource/EndUpdateResource
    # writing the same resources into the same base program: every resource
    # reads back the same, type, name, language and bytes.
    listing = []
    for index, (key, data) in enumerate(after.items()):
        data_file = tmp_path / ("resource%d.bin" % index)
        data_file.write_bytes(data)
        listing.append("%s %s %d %s" % (_name(key[0]), _name(key[1]), key[2], neb.windows_path(data_file)))
    listing_file = tmp_path / "resources.txt"
    listing_file.write_text("\n".join(listing) + "\n")
    systems = str(tmp_path / "system.exe")
    shutil.copyfile(base, systems)
    result = neb.run(neb.build_path("tests", "helpers", "update_resources.exe"),
                     [neb.windows_path(systems), neb.windows_path(listing_file)])
    assert result.returncode == 0, result.stderr
    assert pe_resources.resources(systems) == after


def _name(key):
    return "#%d" % key if isinstance(key, int) else key


class TestLinuxNebpackInstaller(ProductCase):
    VARIANT = product.NEBPACK_LINUX_VARIANT

    def test_a_silent_install_from_the_linux_build(self):
        result = self.install()
        self.assertEqual(result.returncode, 0, result.stderr)
        folder = product.unix_path(FOLDER)
        payload = product.installed_tree(neb.build_path("product", "payload"))
        installed = product.installed_tree(folder)
        self.assertEqual([name for name in payload if name not in installed], [])
        for name in payload:
            path = os.path.join(neb.build_path("product", "payload"), name)
            if os.path.isfile(path):
                self.assertTrue(filecmp.cmp(path, os.path.join(folder, name), shallow=False), name)
        for file_name, chunk in [("Uninst.dar0", "GLOBAL_VAR.LUAC"), ("Uninst.dar1", "UNINSTSCRIPT.LUAC")]:
            with open(os.path.join(folder, file_name), "rb") as f:
                self.assertEqual(f.read(), product.chunk(chunk, self.VARIANT), file_name)
