"""Payload extraction and resource copies through the real engine under Wine:
Lua_UnCompress7z from files and from the program's own archive resource,
and Lua_ExtractResource."""
import os
import shutil
import stat
import subprocess
import tempfile
import threading
import unittest

import pytest
import zlib

import neb

# Extracts arg[1] into arg[2]; arg[3] "file" or "resource"; arg[4] the error
# callback's answer ("none": no error callback); arg[5] "wait-unlock": the
# error callback waits until the file can be opened before answering.
EXTRACT = r'''
local source, folder, mode, answer, wait = arg[1], arg[2], arg[3], arg[4], arg[5]
local function progress(path) print("progress " .. path) end
local function on_error(path, code)
  print("error " .. path .. " " .. code)
  if wait == "wait-unlock" then
    while true do
      local f = io.open(path, "a")
      if f then f:close() break end
    end
  end
  return tonumber(answer)
end
if mode ~= "file" then source = tonumber(source) or source end
-- With five arguments a nil last one would hide the progress callback.
local ok
if answer == "none" then
  ok = Lua_UnCompress7z(source, folder, mode == "file", progress)
else
  ok = Lua_UnCompress7z(source, folder, mode == "file", progress, on_error)
end
print("result " .. tostring(ok))
'''


def make_archive(path, files, *options, folders=()):
    """A 7z archive of `files` ({relative name: bytes}) and empty `folders`."""
    with tempfile.TemporaryDirectory(prefix="neb-src-") as source:
        for name, data in files.items():
            full = os.path.join(source, name)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "wb") as f:
                f.write(data)
        for name in folders:
            os.makedirs(os.path.join(source, name), exist_ok=True)
        subprocess.run(["7zz", "a", "-t7z", "-bd", "-bso0", *options, path, "."], cwd=source, check=True)
    return path


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def packed_sizes(path):
    """The packed size of each file of an archive, in archive order."""
    listing = subprocess.run(["7zz", "l", "-slt", path], capture_output=True, text=True, check=True)
    return [int(line.split("=")[1]) for line in listing.stdout.splitlines()
            if line.startswith("Packed Size = ") and line.split("=")[1].strip()]


def rename_entries(path, renames):
    """Rewrites stored names in an archive made with an uncompressed header
    (-mhc=off), keeping every length, and mends the header checksums."""
    data = bytearray(read_bytes(path))
    for old, new in renames.items():
        assert len(old) == len(new)
        old16, new16 = old.encode("utf-16-le"), new.encode("utf-16-le")
        at = data.find(old16, 32)
        assert at > 0, old
        data[at:at + len(old16)] = new16
    offset = int.from_bytes(data[12:20], "little")
    size = int.from_bytes(data[20:28], "little")
    header = data[32 + offset:32 + offset + size]
    data[28:32] = zlib.crc32(header).to_bytes(4, "little")
    data[8:12] = zlib.crc32(bytes(data[12:32])).to_bytes(4, "little")
    with open(path, "wb") as f:
        f.write(data)


class ExtractionCase(unittest.TestCase):
    """`self.work`, a fresh folder (pytest's, which also removes what was
    extracted read-only), with the extraction's target `self.out` in it."""

    @pytest.fixture(autouse=True)
    def _work(self, tmp_path):
        self.work = str(tmp_path)
        self.out = os.path.join(self.work, "out")
        os.mkdir(self.out)

    def archive(self, files, *options, folders=(), name="test.7z"):
        return make_archive(os.path.join(self.work, name), files, *options, folders=folders)

    def extract(self, source, mode="file", answer="none", wait="", folder=None, **extra_env):
        if mode == "file":
            source = neb.windows_path(source)
        result = neb.run_lua(EXTRACT, [str(source), neb.windows_path(folder or self.out), mode, answer, wait],
                             **extra_env)
        lines = result.stdout.splitlines()
        result.progress = [line[len("progress "):] for line in lines if line.startswith("progress ")]
        result.errors = [line[len("error "):] for line in lines if line.startswith("error ")]
        result.ok = "result true" in lines
        self.assertEqual(result.returncode, 0, result.stderr[-2000:])
        return result

    def read(self, *parts):
        with open(os.path.join(self.out, *parts), "rb") as f:
            return f.read()

    def out_path(self, *parts):
        return neb.windows_path(os.path.join(self.out, *parts))


class FileExtractionTest(ExtractionCase):
    def test_entries_become_files_and_folders_with_backslash_paths(self):
        archive = self.archive({"a/b/c.txt": b"deep", "top.txt": b"top"}, "-m0=lzma2", "-ms=on",
                               folders=["empty/inner"])
        result = self.extract(archive)
        self.assertTrue(result.ok)
        self.assertEqual(self.read("a", "b", "c.txt"), b"deep")
        self.assertEqual(self.read("top.txt"), b"top")
        self.assertTrue(os.path.isdir(os.path.join(self.out, "empty", "inner")))
        self.assertEqual(sorted(result.progress), [self.out_path() + "\\a\\b\\c.txt",
                                                   self.out_path() + "\\top.txt"])
        self.assertTrue(all("/" not in path for path in result.progress))
        self.assertIn("qd UnCompress %s to %s .\r\n" % (neb.windows_path(archive), neb.windows_path(self.out)),
                      result.debug)
        self.assertEqual(result.debug[-1], "qd UnCompress successful.\r\n")

    def test_solid_and_filtered_archives(self):
        files = {"f%02d.bin" % i: os.urandom(3000) + bytes(5000) * (i % 3) for i in range(12)}
        for options in [("-m0=lzma2", "-ms=on"), ("-m0=lzma", "-ms=off"), ("-m0=ppmd",),
                        ("-m0=bcj", "-m1=lzma2", "-ms=on"), ("-m0=copy",)]:
            with self.subTest(options=options):
                shutil.rmtree(self.out)
                os.mkdir(self.out)
                result = self.extract(self.archive(files, *options))
                self.assertTrue(result.ok)
                for name, data in files.items():
                    self.assertEqual(self.read(name), data, name)
                self.assertEqual(len(result.progress), len(files))

    def test_more_coder_chains(self):
        # Dictionaries far smaller than the block, so the decoder's window
        # wraps many times; filters that convert a piece at a time and hold
        # back a few bytes between pieces (sizes over a megabyte cross
        # several pieces); BCJ2, whose four streams are decoded whole.
        files = {"f%02d.bin" % i: os.urandom(1000) + distinct_text(i, 700_000 + i * 333) for i in range(4)}
        for options in [("-m0=lzma2:d=64k", "-ms=on"), ("-m0=lzma:d=64k", "-ms=on"),
                        ("-m0=delta:4", "-m1=lzma2"), ("-m0=arm64", "-m1=lzma2"), ("-m0=sparc", "-m1=lzma"),
                        ("-m0=bcj", "-m1=ppmd"),
                        ("-m0=bcj2", "-m1=lzma2", "-m2=lzma", "-m3=lzma", "-mb0:1", "-mb0s1:2", "-mb0s2:3")]:
            with self.subTest(options=options):
                shutil.rmtree(self.out)
                os.mkdir(self.out)
                result = self.extract(self.archive(files, *options))
                self.assertTrue(result.ok)
                for name, data in files.items():
                    self.assertEqual(self.read(name), data, name)

    def test_modification_time_and_stored_read_only_attribute_are_kept(self):
        source = os.path.join(self.work, "source")
        os.mkdir(source)
        kept = os.path.join(source, "kept.txt")
        with open(kept, "w") as f:
            f.write("old file")
        os.utime(kept, (1_000_000_000, 1_000_000_000))
        os.chmod(kept, 0o444)
        archive = os.path.join(self.work, "attrs.7z")
        subprocess.run(["7zz", "a", "-bd", "-bso0", archive, "kept.txt"], cwd=source, check=True)
        self.assertTrue(self.extract(archive).ok)
        target = os.path.join(self.out, "kept.txt")
        self.assertEqual(int(os.stat(target).st_mtime), 1_000_000_000)
        self.assertFalse(os.stat(target).st_mode & stat.S_IWUSR, "the stored read-only attribute")

    def test_a_read_only_file_in_the_way_is_replaced(self):
        archive = self.archive({"ro.txt": b"new content"})
        target = os.path.join(self.out, "ro.txt")
        with open(target, "wb") as f:
            f.write(b"old")
        os.chmod(target, 0o444)
        self.assertTrue(self.extract(archive).ok)
        self.assertEqual(self.read("ro.txt"), b"new content")

    def test_argument_counts_outside_two_to_five_extract_nothing_and_succeed(self):
        archive = neb.windows_path(self.archive({"x.txt": b"x"}))
        folder = neb.windows_path(self.out)
        for call in ["Lua_UnCompress7z(%s)" % neb.lua_string(archive),
                     "Lua_UnCompress7z(%s, %s, true, nil, nil, 6)" % (neb.lua_string(archive),
                                                                      neb.lua_string(folder))]:
            with self.subTest(call=call):
                result = neb.run_lua("print(%s)" % call)
                self.assertEqual(result.stdout.strip(), "true")
                self.assertEqual(result.debug, ["qd UnCompress successful.\r\n"])
                self.assertEqual(os.listdir(self.out), [])

    def test_callbacks_are_taken_from_the_top(self):
        archive = neb.lua_string(neb.windows_path(self.archive({"x.txt": b"x"})))
        folder = neb.lua_string(neb.windows_path(self.out))
        progress = "function(p) print('progress', p) end"
        cases = [
            ("%s, %s, true, %s, nil" % (archive, folder, progress), 0),
            ("%s, %s, true, %s" % (archive, folder, progress), 1),
            ("%s, %s, true, %s, function() return 2 end" % (archive, folder, progress), 1),
        ]
        for arguments, expected_calls in cases:
            with self.subTest(arguments=arguments):
                result = neb.run_lua("print(Lua_UnCompress7z(%s))" % arguments)
                self.assertEqual(result.stdout.count("progress"), expected_calls, result.stdout)
                self.assertTrue(result.stdout.strip().endswith("true"))

    def test_a_folder_removed_by_a_callback_is_made_again(self):
        archive = neb.lua_string(neb.windows_path(self.archive({"a/1.txt": b"1", "a/2.txt": b"2"})))
        folder = neb.windows_path(self.out)
        code = """
local removed = false
local function progress(path)
  if not removed then removed = true Lua_DelFileRecursive(%s) end
end
print(Lua_UnCompress7z(%s, %s, true, progress))
""" % (neb.lua_string(folder + "\\a"), archive, neb.lua_string(folder))
        result = neb.run_lua(code)
        self.assertEqual(result.stdout.strip(), "true")
        self.assertEqual(os.listdir(os.path.join(self.out, "a")), ["2.txt"])

    def test_missing_folder_or_archive(self):
        archive = self.archive({"x.txt": b"x"})
        missing_folder = os.path.join(self.work, "nowhere")
        result = self.extract(archive, folder=missing_folder)
        self.assertFalse(result.ok)
        self.assertEqual(result.debug, ["qd Fun:Lua_UnCompress7z, Description:%s it's not exists!\r\n"
                                        % neb.windows_path(missing_folder)])
        missing_archive = os.path.join(self.work, "none.7z")
        result = self.extract(missing_archive)
        self.assertFalse(result.ok)
        self.assertEqual(result.debug, ["qd Fun:Lua_UnCompress7z, Description:%s it's not exists!\r\n"
                                        % neb.windows_path(missing_archive)])

    def test_damaged_archives_fail_and_keep_what_came_before(self):
        files = {"1.txt": b"first file " * 50, "2.txt": b"second file " * 50, "3.txt": b"third file " * 50}
        cases = []
        stored = self.archive(files, "-m0=copy", name="stored.7z")
        data = bytearray(read_bytes(stored))
        at = data.find(b"second file")
        data[at] ^= 0xFF
        cases.append(("crc error in the second file", bytes(data), ["1.txt"]))
        packed = self.archive(files, "-m0=lzma", "-ms=off", "-mx=9", name="packed.7z")
        data = bytearray(read_bytes(packed))
        second_stream = 32 + packed_sizes(packed)[0]  # non-solid streams follow the signature header
        data[second_stream + 8:second_stream + 12] = b"\xff\x00\xff\x00"
        cases.append(("damaged data in the second file", bytes(data), ["1.txt"]))
        whole = read_bytes(stored)
        cases.append(("truncated", whole[:len(whole) * 2 // 3], []))
        cases.append(("not an archive", b"PK" + whole[2:], []))
        for name, content, kept in cases:
            with self.subTest(case=name):
                shutil.rmtree(self.out)
                os.mkdir(self.out)
                broken = os.path.join(self.work, "broken.7z")
                with open(broken, "wb") as f:
                    f.write(content)
                result = self.extract(broken)
                self.assertFalse(result.ok)
                self.assertEqual(result.debug[-1], "qd Fun:Lua_UnCompress7z, Description: UnCompress failed.!\r\n")
                self.assertEqual(sorted(os.listdir(self.out)), sorted(kept))
                for name_kept in kept:
                    self.assertEqual(self.read(name_kept), files[name_kept])

    def test_entries_that_lead_outside_the_folder_are_refused(self):
        files = {"p1/evil1.txt": b"1", "q2zq2zevil2.txt": b"2", "Cxevil3.txt": b"3",
                 "_evil4.txt": b"4", "good.txt": b"good"}
        archive = self.archive(files, "-mhc=off", "-ms=off")
        rename_entries(archive, {"p1/evil1.txt": "../evil1.txt", "p1": "..",
                                 "q2zq2zevil2.txt": "..\\..\\evil2.txt",
                                 "Cxevil3.txt": "C:evil3.txt", "_evil4.txt": "/evil4.txt"})
        nested = os.path.join(self.out, "deeper")
        os.mkdir(nested)
        result = self.extract(archive, folder=nested)
        self.assertFalse(result.ok)
        self.assertEqual(os.listdir(nested), ["good.txt"])
        self.assertEqual(os.listdir(self.out), ["deeper"])
        for root in [self.work, "/", neb.PREFIX + "/drive_c"]:
            for name in ["evil1.txt", "evil2.txt", "evil3.txt", "evil4.txt"]:
                self.assertFalse(os.path.exists(os.path.join(root, name)), os.path.join(root, name))


class LockedFileTest(ExtractionCase):
    def creation_attempts(self, result, path):
        # The extractor's attempts on a file that is there: each opens it,
        # by the name relative to the handle of the file's folder, as it
        # would be written and with the right to delete it (access
        # 0x40110080: GENERIC_WRITE, DELETE, SYNCHRONIZE, FILE_READ_ATTRIBUTES;
        # read sharing only), before the new bytes go to a temporary file.
        # The callback's probing opens share everything.
        relative = 'name=L"%s"' % os.path.basename(path)
        return sum(1 for line in result.stderr.splitlines()
                   if "NtCreateFile" in line and relative in line and "access=40110080" in line
                   and "sharing=00000001" in line)

    def test_error_callback_answers(self):
        files = {"1.txt": b"one", "2.txt": b"two", "3.txt": b"three"}
        archive = self.archive(files, "-ms=off")
        locked = os.path.join(self.out, "2.txt")
        cases = [
            # answer, wait for unlock, result, files afterwards, creation attempts of 2.txt
            ("0", False, False, {"1.txt": b"one"}, 2),
            ("0", True, True, files, 2),
            ("1", False, False, {"1.txt": b"one", "3.txt": b"three"}, 1),
            ("2", False, False, {"1.txt": b"one"}, 1),
            ("none", False, False, {"1.txt": b"one"}, 1),
        ]
        for answer, wait, ok, expected, attempts in cases:
            with self.subTest(answer=answer, wait=wait):
                for name in os.listdir(self.out):
                    os.remove(os.path.join(self.out, name))
                holder = neb.HeldFile(neb.windows_path(locked), exclusive=True)
                self.addCleanup(holder.release)
                if wait:
                    # The callback waits for the file, which the holder lets go a moment later.
                    threading.Timer(1.0, holder.release).start()
                result = self.extract(archive, answer=answer, wait="wait-unlock" if wait else "",
                                      WINEDEBUG="warn+seh,trace+file")
                holder.release()
                self.assertEqual(result.ok, ok)
                self.assertEqual(result.errors, [] if answer == "none" else
                                 ["%s 32" % neb.windows_path(locked)])
                self.assertEqual(self.creation_attempts(result, locked), attempts)
                actual = {name: self.read(name) for name in os.listdir(self.out)}
                if not wait:
                    actual.pop("2.txt", None)  # the holder's own (empty) file
                self.assertEqual(actual, expected)


class FullDiskTest(ExtractionCase):
    def test_a_full_disk_stops_the_extraction_and_keeps_the_old_file(self):
        mount_point = os.path.join(self.work, "small")
        os.mkdir(mount_point)
        if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", mount_point]).returncode:
            self.skipTest("cannot mount a small file system here")
        self.addCleanup(lambda: subprocess.run(["umount", mount_point]))
        drive = os.path.join(neb.PREFIX, "dosdevices", "t:")
        os.symlink(mount_point, drive)
        self.addCleanup(os.remove, drive)

        # An earlier version of the big file is there; the new one does not fit.
        with open(os.path.join(mount_point, "b_big.bin"), "wb") as f:
            f.write(b"old version")
        files = {"a_small.txt": b"small", "b_big.bin": os.urandom(600_000), "c_after.txt": b"after"}
        archive = self.archive(files, "-m0=copy", "-ms=off")
        result = neb.run_lua(EXTRACT, [neb.windows_path(archive), "T:\\", "file", "none", ""])
        self.assertIn("result false", result.stdout)
        self.assertEqual(sorted(os.listdir(mount_point)), ["a_small.txt", "b_big.bin"])
        with open(os.path.join(mount_point, "a_small.txt"), "rb") as f:
            self.assertEqual(f.read(), b"small")
        with open(os.path.join(mount_point, "b_big.bin"), "rb") as f:
            self.assertEqual(f.read(), b"old version")


class ResourceTest(ExtractionCase):
    def test_the_programs_own_archive(self):
        for source in ["App.7z", "APP.7Z"]:
            with self.subTest(source=source):
                shutil.rmtree(self.out)
                os.mkdir(self.out)
                result = self.extract(source, mode="resource")
                self.assertTrue(result.ok)
                self.assertTrue(os.path.isfile(os.path.join(self.out, "readme.txt")))
                self.assertTrue(os.path.isfile(os.path.join(self.out, "docs", "guide.txt")))
                self.assertIn("qd UnCompress %s to %s .\r\n" % (source, neb.windows_path(self.out)),
                              result.debug)

    def test_a_resource_that_is_not_there(self):
        for source in ["Other.7z", "7"]:
            with self.subTest(source=source):
                result = self.extract(source, mode="resource")
                self.assertFalse(result.ok)
                self.assertEqual(result.debug, ["qd Fun:Lua_UnCompress7z ,LoadResource failed!\r\n"])

    def test_any_third_argument_but_true_selects_the_resource(self):
        folder = neb.lua_string(neb.windows_path(self.out))
        result = neb.run_lua("print(Lua_UnCompress7z('App.7z', %s, 1))" % folder)
        self.assertEqual(result.stdout.strip(), "true")
        self.assertTrue(os.path.isfile(os.path.join(self.out, "readme.txt")))

    def test_extract_resource_copies_bytes_and_restores_the_archive_signature(self):
        chunk = os.path.join(self.out, "inst.luac")
        payload = os.path.join(self.out, "app.7z")
        code = "print(Lua_ExtractResource('LUA', 'INSTSCRIPT.LUAC', %s))\n" % neb.lua_string(neb.windows_path(chunk))
        code += "print(Lua_ExtractResource('_7Z', 'APP.7Z', %s))\n" % neb.lua_string(neb.windows_path(payload))
        result = neb.run_lua(code)
        self.assertEqual(result.stdout.split(), ["true", "true"])
        with open(neb.build_path("app", "NEBInstaller_res", "INST.luac"), "rb") as f:
            self.assertEqual(self.read("inst.luac"), f.read())
        self.assertEqual(self.read("app.7z")[:6], b"7z\xbc\xaf\x27\x1c")
        listing = subprocess.run(["7zz", "l", payload], capture_output=True, text=True)
        self.assertIn("readme.txt", listing.stdout)

    def test_extract_resource_failures(self):
        missing_folder = neb.windows_path(os.path.join(self.work, "nowhere", "x.bin"))
        cases = [
            ("'LUA', 'NO_SUCH.LUAC', %s" % neb.lua_string(self.out_path("x.bin")),
             "qd Fun:Lua_ExtractResource ,LoadResource failed!\r\n"),
            ("'LUA', 'INSTSCRIPT.LUAC', %s" % neb.lua_string(missing_folder),
             "qd Fun:Lua_ExtractResource ,CreateFileW %s failed!\r\n" % missing_folder),
        ]
        for arguments, line in cases:
            with self.subTest(arguments=arguments):
                result = neb.run_lua("print(Lua_ExtractResource(%s))" % arguments)
                self.assertEqual(result.stdout.strip(), "false")
                self.assertEqual(result.debug, [line])


def archive_order(path):
    """The file entries of an archive, in archive order."""
    listing = subprocess.run(["7zz", "l", "-slt", path], capture_output=True, text=True, check=True)
    entries, current = [], {}
    for line in listing.stdout.splitlines() + [""]:
        if not line.strip():
            if current.get("Attributes", "").startswith("A") or current.get("Folder") == "-":
                entries.append(current["Path"].replace("\\", "/"))
            current = {}
        elif " = " in line:
            key, value = line.split(" = ", 1)
            current[key] = value
    return entries


def distinct_text(seed, size):
    """Compressible text that differs from file to file."""
    words = [b"%s%d" % (w, seed) for w in (b"alpha", b"beta", b"gamma", b"delta", b"omega")]
    out = bytearray()
    i = seed
    while len(out) < size:
        out += words[i % len(words)] + b" "
        i = i * 1103515245 + 12345 & 0x7FFFFFFF
    return bytes(out[:size])


# Extracts arg[1] into arg[2]: the error callback removes arg[3] (the
# target folder) and answers arg[4].
REMOVING_CALLBACK = r"""
local archive, folder, answer = arg[1], arg[2], tonumber(arg[4])
local function on_error(path, code)
  print("error " .. path .. " " .. code)
  Lua_DelFileRecursive(arg[3])
  return answer
end
print("result " .. tostring(Lua_UnCompress7z(archive, folder, true, function(p) print("progress " .. p) end, on_error)))
"""

# Extracts arg[1] into arg[2]; after the first file the progress callback
# says so and waits for a line on its input; the error callback skips.
PAUSING_PROGRESS = r"""
local paused = false
local function progress(path)
  print("progress " .. path)
  io.stdout:flush()
  if not paused then paused = true io.read("*l") end
end
local function on_error(path, code) print("error " .. path .. " " .. code) return 1 end
print("result " .. tostring(Lua_UnCompress7z(arg[1], arg[2], true, progress, on_error)))
"""


class SolidBlockTest(ExtractionCase):
    """One solid block decoded as its files are written."""

    def solid_archive(self, count, size):
        files = {"f%02d.txt" % i: distinct_text(i + 1, size) for i in range(count)}
        archive = self.archive(files, "-m0=lzma2", "-ms=on", "-mx=5")
        return archive, files, archive_order(archive)

    def test_a_fault_in_the_middle_of_a_block_keeps_the_files_before_it(self):
        archive, files, order = self.solid_archive(40, 60_000)
        data = bytearray(read_bytes(archive))
        middle = 32 + packed_sizes(archive)[0] // 2
        data[middle:middle + 16] = bytes(16)
        with open(archive, "wb") as f:
            f.write(data)
        result = self.extract(archive)
        self.assertFalse(result.ok)
        present = sorted(os.listdir(self.out), key=order.index)
        self.assertEqual(present, order[:len(present)], "the files before the fault, in archive order")
        self.assertTrue(0 < len(present) < len(order), present)
        for name in present:
            self.assertEqual(self.read(name), files[name], name)
        self.assertEqual(result.progress, [self.out_path(name) for name in present])

    def test_a_damaged_upgrade_keeps_the_old_file(self):
        """An upgrade over an installed version: the file whose bytes fail
        their check, and every file after it, keep the old version; the
        files of the same solid block before it were replaced whole (each
        matched its own checksum) and stay new."""
        archive, files, order = self.solid_archive(40, 60_000)
        for name in order:
            with open(os.path.join(self.out, name), "wb") as f:
                f.write(b"old " + name.encode())
        data = bytearray(read_bytes(archive))
        middle = 32 + packed_sizes(archive)[0] // 2
        data[middle:middle + 16] = bytes(16)
        with open(archive, "wb") as f:
            f.write(data)
        result = self.extract(archive)
        self.assertFalse(result.ok)
        self.assertEqual(sorted(os.listdir(self.out)), sorted(order), "no file lost, no temporary file left")
        new = [name for name in order if self.read(name) == files[name]]
        old = [name for name in order if self.read(name) == b"old " + name.encode()]
        self.assertEqual(new + old, order, "new files first, then old ones, none damaged or truncated")
        self.assertTrue(0 < len(new) < len(order), new)
        self.assertEqual(result.progress, [self.out_path(name) for name in new])

    def test_a_locked_file_late_in_a_block(self):
        archive, files, order = self.solid_archive(30, 120_000)
        locked_name = order[26]
        locked = os.path.join(self.out, locked_name)
        before = {name: files[name] for name in order[:26]}
        after = {name: files[name] for name in order[27:]}
        cases = [
            # answer, wait for unlock, result, files afterwards
            ("0", False, False, before),
            ("0", True, True, files),
            ("1", False, False, {**before, **after}),
            ("2", False, False, before),
            ("none", False, False, before),
        ]
        for answer, wait, ok, expected in cases:
            with self.subTest(answer=answer, wait=wait):
                for name in os.listdir(self.out):
                    os.remove(os.path.join(self.out, name))
                holder = neb.HeldFile(neb.windows_path(locked), exclusive=True)
                self.addCleanup(holder.release)
                if wait:
                    threading.Timer(1.0, holder.release).start()
                result = self.extract(archive, answer=answer, wait="wait-unlock" if wait else "")
                holder.release()
                self.assertEqual(result.ok, ok)
                self.assertEqual(result.errors, [] if answer == "none" else
                                 ["%s 32" % neb.windows_path(locked)])
                actual = {name: self.read(name) for name in os.listdir(self.out)}
                if not wait:
                    actual.pop(locked_name, None)  # the holder's own (empty) file
                self.assertEqual(actual, expected)
                self.assertEqual(result.progress, [self.out_path(name) for name in order if name in expected])

    def test_an_error_callback_that_removes_the_target_folder(self):
        names = ["a.txt", "b.txt", "c.txt", "d.txt", "e.txt"]
        archive = self.archive({name: name.encode() * 1000 for name in names}, "-ms=on")
        order = archive_order(archive)
        blocked = order[2]
        cases = [
            # answer, errors after the blocked file (each later file finds no folder)
            ("0", []),
            ("1", ["%s 3" % self.out_path(name) for name in order[3:]]),
            ("2", []),
        ]
        for answer, later_errors in cases:
            with self.subTest(answer=answer):
                os.makedirs(os.path.join(self.out, blocked), exist_ok=True)  # a folder in the file's place
                result = neb.run_lua(REMOVING_CALLBACK, [neb.windows_path(archive), self.out_path(),
                                                         self.out_path(), answer])
                self.assertEqual(result.returncode, 0, result.stderr[-2000:])
                self.assertIn("result false", result.stdout)
                errors = [line[len("error "):] for line in result.stdout.splitlines() if line.startswith("error ")]
                self.assertEqual(errors, ["%s 5" % self.out_path(blocked)] + later_errors)
                self.assertFalse(os.path.exists(self.out), "the target folder is not made again")
                self.assertEqual(sorted(os.listdir(self.work)), ["test.7z"])
                os.mkdir(self.out)


class LinkTest(ExtractionCase):
    """Nothing is written through a junction or symbolic link in the target
    folder (under Wine, a Unix symbolic link)."""

    def setUp(self):
        super().setUp()
        self.outside = os.path.join(self.work, "outside")
        os.mkdir(self.outside)
        self.canary = os.path.join(self.outside, "canary.txt")
        with open(self.canary, "wb") as f:
            f.write(b"canary")

    def tearDown(self):
        for name in os.listdir(self.out):
            if os.path.islink(os.path.join(self.out, name)):
                os.remove(os.path.join(self.out, name))
        super().tearDown()

    def assert_outside_untouched(self):
        self.assertEqual(os.listdir(self.outside), ["canary.txt"])
        self.assertEqual(read_bytes(self.canary), b"canary")

    def test_links_planted_before(self):
        files = {"sub/canary.txt": b"evil", "sub/new.txt": b"evil", "f.txt": b"evil", "d.txt": b"evil",
                 "ok.txt": b"good"}
        archive = self.archive(files, "-ms=off")
        os.symlink(self.outside, os.path.join(self.out, "sub"))
        os.symlink(self.canary, os.path.join(self.out, "f.txt"))
        os.symlink(os.path.join(self.outside, "nothere.txt"), os.path.join(self.out, "d.txt"))
        result = self.extract(archive, answer="1")
        self.assertFalse(result.ok)
        self.assert_outside_untouched()
        self.assertEqual(read_bytes(os.path.join(self.out, "ok.txt")), b"good")
        # A refused link reaches the callback without a path: an answer by
        # path (a move, a deletion) would follow it.
        refused = " 1920"  # ERROR_CANT_ACCESS_FILE
        self.assertEqual(result.errors, [refused] * 3)
        # A link that leads nowhere is replaced as an entry of the folder,
        # never followed.
        self.assertFalse(os.path.islink(os.path.join(self.out, "d.txt")))
        self.assertEqual(read_bytes(os.path.join(self.out, "d.txt")), b"evil")
        self.assertIn("qd Extract7z: refused a junction or symbolic link: sub\r\n", result.debug)

    def test_a_folder_swapped_for_a_link_while_the_extraction_runs(self):
        files = {"a/1.txt": b"one", "a/2.txt": b"evil", "b/3.txt": b"evil"}
        archive = self.archive(files, "-ms=on")
        order = archive_order(archive)
        self.assertEqual(order[0], "a/1.txt")
        script = os.path.join(self.work, "pause.lua")
        with open(script, "w") as f:
            f.write(PAUSING_PROGRESS)
        nebscript = neb.build_path("tools", "nebscript", "nebscript.exe")
        process = neb.start(nebscript, [neb.windows_path(script), neb.windows_path(archive), self.out_path()],
                            stdin=subprocess.PIPE)
        try:
            first = process.stdout.readline()
            self.assertEqual(first.strip(), "progress " + self.out_path("a", "1.txt"))
            # While the script has control, the folders made for a/ and b/
            # become links to the outside folder.
            for name in ["a", "b"]:
                shutil.rmtree(os.path.join(self.out, name))
                os.symlink(self.outside, os.path.join(self.out, name))
            stdout, stderr = process.communicate("\n", timeout=120)
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()
        self.assertIn("result false", stdout, stderr[-2000:])
        self.assert_outside_untouched()
        errors = [line[len("error "):] for line in stdout.splitlines() if line.startswith("error ")]
        self.assertEqual(errors, [" 1920" for name in order[1:]])


class DeviceNameTest(ExtractionCase):
    def test_entries_named_after_devices_are_refused(self):
        files = {"aaa.txt": b"1", "zzz": b"2", "sub/abcd.log": b"3", "xyz1.ini": b"4", "s/qqq": b"5",
                 "good.txt": b"good"}
        archive = self.archive(files, "-mhc=off", "-ms=off")
        rename_entries(archive, {"aaa.txt": "AUX.txt", "zzz": "nul", "sub/abcd.log": "sub/com1.log",
                                 "xyz1.ini": "lPt9.ini", "s/qqq": "s/CON"})
        result = self.extract(archive)
        self.assertFalse(result.ok)
        written = [os.path.relpath(os.path.join(root, name), self.out)
                   for root, _, names in os.walk(self.out) for name in names]
        self.assertEqual(written, ["good.txt"])
        self.assertEqual(result.progress, [self.out_path("good.txt")])
        refused = [line for line in result.debug if line.startswith("qd Extract7z: refused an unsafe entry name")]
        self.assertEqual(len(refused), 5, result.debug)


if __name__ == "__main__":
    unittest.main()
