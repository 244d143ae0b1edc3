"""The file and folder host functions, called from scripts run by nebscript
under Wine: creating, copying, moving, renaming and deleting, the question
that Lua_DeleteFile asks with its three answers, the recursive deletes with
their failure callback and the current folder, deletion at the next restart,
unique and temporary names, expansion and special folders.

Every case works in its own folder on the prefix's C: drive; scripts/
host_call.lua makes the calls and prints their results."""
import os
import re
import stat
import subprocess
import tempfile
import unittest

import pytest

import neb

NEBSCRIPT = neb.build_path("tools", "nebscript", "nebscript.exe")
HOST_CALL = neb.windows_path(os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                          "scripts", "host_call.lua"))

BOX_CAPTION = "提示"
BOX_TEXT = "无法删除\"{}\"，可能是被占用，请关闭占用程序后点击重试或者点击忽略在卸载完成之后手动删除！"
SHELL_ERROR_LINE = re.compile(r"^qd SHFileOperation error code : 0x[0-9a-f]+\r\n$")
ERROR_SHARING_VIOLATION = "32"
PENDING_KEY = "HKLM\\System\\CurrentControlSet\\Control\\Session Manager"
PENDING_VALUE = "PendingFileRenameOperations"
# A run that must not show a box gets a short time: an unexpected box then
# fails the case quickly instead of blocking it for the default time.
NO_BOX_TIMEOUT = 30


def s(text):
    return "s:" + text


def n(number):
    return "n:%s" % number


def _value(word):
    if word == "nil":
        return None
    kind, text = word.split(":", 1)
    if kind == "boolean":
        return text == "true"
    if kind == "number":
        return float(text)
    return text


def _arguments(calls):
    args = [HOST_CALL]
    for index, call in enumerate(calls):
        if index:
            args.append("--")
        args.extend(call)
    return args


def _read_output(result):
    """Adds `results`, one list of values per function call, and `callbacks`,
    the (path, code) pairs that the "fn" callback received."""
    lines = result.stdout.splitlines()
    result.results = [[_value(w) for w in line.split("\t")[1:]] for line in lines if line.startswith("=")]
    result.callbacks = [tuple(line.split("\t")[1:]) for line in lines if line.startswith("callback\t")]
    return result


def host_calls(*calls, timeout=60, cwd=None, **extra_env):
    """Runs the calls in one script, to its end."""
    return _read_output(neb.run(NEBSCRIPT, _arguments(calls), timeout=timeout, cwd=cwd, **extra_env))


def start_host_calls(*calls, stdin=None):
    return neb.start(NEBSCRIPT, _arguments(calls), stdin=stdin)


def finish_host_calls(process):
    return _read_output(neb.finish(process))


def pending_deletions():
    return neb.reg_query(PENDING_KEY, PENDING_VALUE) or ""


class FolderCase(unittest.TestCase):
    """A fresh folder on the prefix's C: drive for each test, and for each
    case of a table through fresh_folder()."""

    @pytest.fixture(autouse=True)
    def _folders(self, c_drive_tmp_path):
        self.folders = c_drive_tmp_path
        self.fresh_folder()

    def fresh_folder(self):
        self.root = tempfile.mkdtemp(prefix="case-", dir=self.folders)

    def assertResults(self, result, expected):
        """The calls' results, with the run's output shown when they differ."""
        self.assertEqual(result.results, expected, "exit code %s\nstdout:\n%s\nstderr (end):\n%s"
                         % (result.returncode, result.stdout, result.stderr[-3000:]))

    def unix(self, *parts):
        return os.path.join(self.root, *parts)

    def win(self, *parts):
        return neb.c_drive_path(self.unix(*parts))

    def make(self, *parts, content="x"):
        path = self.unix(*parts)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(content)
        return path

    def content(self, *parts):
        with open(self.unix(*parts), encoding="utf-8") as f:
            return f.read()

    def make_tree(self, name):
        """name/top.txt, name/sub/f.txt, name/sub/deeper/read-only.txt (read-only),
        name/empty/; returns the subfolders below name."""
        self.make(name, "top.txt")
        self.make(name, "sub", "f.txt")
        read_only = self.make(name, "sub", "deeper", "read-only.txt")
        os.chmod(read_only, stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
        os.makedirs(self.unix(name, "empty"))
        return ["sub", "sub\\deeper", "empty"]


class CreateDirectoryTest(FolderCase):
    def test_creates_every_missing_level(self):
        result = host_calls(["Lua_CreateDirectory", s(self.win("a", "b", "c"))])
        self.assertResults(result, [[True]])
        self.assertTrue(os.path.isdir(self.unix("a", "b", "c")))
        self.assertEqual(result.debug, ["qd Create Directory %s!\r\n" % self.win("a", "b", "c")])

    def test_an_existing_folder_is_true_without_a_line(self):
        result = host_calls(["Lua_CreateDirectory", s(self.win())])
        self.assertResults(result, [[True]])
        self.assertEqual(result.debug, [])

    def test_a_folder_that_cannot_be_made_is_false(self):
        self.make("file")
        folder = self.win("file", "sub")
        result = host_calls(["Lua_CreateDirectory", s(folder)])
        self.assertResults(result, [[False]])
        self.assertEqual(result.debug,
                         ["qd Fun:Lua_CreateDirectory, Description:%s it's not exists!\r\n" % folder])


class TransferTest(FolderCase):
    """Copy and move through the shell, rename with MoveFileExW."""

    def fresh_folder(self):
        super().fresh_folder()
        self.make("a.txt", content="a")
        self.make("b.txt", content="b")
        self.make("tree", "sub", "f.txt", content="f")

    def test_transfers(self):
        # function, source, target, verb of the debug line, files afterwards
        # with their content, paths gone afterwards
        cases = [
            ("Lua_CopyFile", "a.txt", "new\\deep\\a.txt", "Copy",
             {"a.txt": "a", "new/deep/a.txt": "a"}, []),
            ("Lua_CopyFile", "tree", "copy", "Copy", {"tree/sub/f.txt": "f", "copy/sub/f.txt": "f"}, []),
            ("Lua_CopyFile", "a.txt", "b.txt", "Copy", {"a.txt": "a", "b.txt": "a"}, []),
            ("Lua_MoveFile", "a.txt", "tree\\moved.txt", "Move", {"tree/moved.txt": "a"}, ["a.txt"]),
            ("Lua_MoveFile", "tree", "b\u00e4ume", "Move", {"b\u00e4ume/sub/f.txt": "f"}, ["tree"]),
            ("Lua_MoveFile", "a.txt", "b.txt", "Move", {"b.txt": "a"}, ["a.txt"]),
            ("Lua_RenameFile", "a.txt", "c.txt", "MoveFile", {"c.txt": "a"}, ["a.txt"]),
            ("Lua_RenameFile", "a.txt", "b.txt", "MoveFile", {"b.txt": "a"}, ["a.txt"]),
            ("Lua_RenameFile", "tree", "renamed", "MoveFile", {"renamed/sub/f.txt": "f"}, ["tree"]),
        ]
        for function, source, target, verb, after, gone in cases:
            with self.subTest(function=function, source=source, target=target):
                self.fresh_folder()
                result = host_calls([function, s(self.win(source)), s(self.win(target))])
                self.assertResults(result, [[True]])
                for path, text in after.items():
                    self.assertEqual(self.content(*path.split("/")), text)
                for path in gone:
                    self.assertFalse(os.path.exists(self.unix(path)))
                self.assertEqual(result.debug,
                                 ["qd %s %s to %s !" % (verb, self.win(source), self.win(target))])

    def test_a_missing_source_is_false_and_leaves_the_target_alone(self):
        for function in ["Lua_CopyFile", "Lua_MoveFile", "Lua_RenameFile"]:
            with self.subTest(function=function):
                result = host_calls([function, s(self.win("missing.txt")), s(self.win("b.txt"))])
                self.assertResults(result, [[False]])
                self.assertEqual(self.content("b.txt"), "b")
                self.assertEqual(result.debug, ["qd Fun:%s, Description:%s it's not exists!\r\n"
                                                % (function, self.win("missing.txt"))])

    def test_a_failed_shell_operation_is_false_with_its_code(self):
        target = self.win("b.txt", "sub", "a.txt")  # below a file: cannot exist
        for function, verb in [("Lua_CopyFile", "Copy"), ("Lua_MoveFile", "Move")]:
            with self.subTest(function=function):
                result = host_calls([function, s(self.win("a.txt")), s(target)])
                self.assertResults(result, [[False]])
                self.assertEqual(self.content("a.txt"), "a")
                self.assertEqual(len(result.debug), 2, result.debug)
                self.assertEqual(result.debug[0], "qd %s %s to %s failed!" % (verb, self.win("a.txt"), target))
                self.assertRegex(result.debug[1], SHELL_ERROR_LINE)

    def test_a_rename_that_the_system_refuses_is_false(self):
        cases = [
            ("target in a missing folder", [], self.win("nowhere", "a.txt")),
            ("source held open", [["hold", self.win("a.txt")]], self.win("c.txt")),
        ]
        for name, before, target in cases:
            with self.subTest(name):
                result = host_calls(*before, ["Lua_RenameFile", s(self.win("a.txt")), s(target)])
                self.assertResults(result, [[False]])
                self.assertEqual(self.content("a.txt"), "a")
                self.assertEqual(result.debug, ["qd MoveFile %s to %s failed!" % (self.win("a.txt"), target)])

    @unittest.skip("Wine 8's SHFileOperationW cancels a move (ERROR_CANCELLED, 0x4c7) whose target "
                   "folder is missing instead of creating it as FOF_NOCONFIRMMKDIR asks")
    def test_a_move_creates_missing_target_folders(self):
        result = host_calls(["Lua_MoveFile", s(self.win("a.txt")), s(self.win("new", "deep", "a.txt"))])
        self.assertResults(result, [[True]])
        self.assertEqual(self.content("new", "deep", "a.txt"), "a")


class DeleteTest(FolderCase):
    def test_deletes_files_and_folders_without_asking(self):
        for function in ["Lua_DeleteFile", "Lua_DeleteFileEx"]:
            for target in ["file", "tree", "missing"]:
                with self.subTest(function=function, target=target):
                    self.fresh_folder()
                    self.make("file")
                    self.make("tree", "sub", "f.txt")
                    result = host_calls([function, s(self.win(target))], timeout=NO_BOX_TIMEOUT)
                    self.assertResults(result, [[True]])
                    self.assertFalse(os.path.exists(self.unix(target)))
                    self.assertEqual(result.debug, [])

    def test_the_silent_delete_of_a_file_in_use_is_false(self):
        self.make("locked.txt")
        result = host_calls(["hold", self.win("locked.txt")], ["Lua_DeleteFileEx", s(self.win("locked.txt"))],
                            timeout=NO_BOX_TIMEOUT)
        self.assertResults(result, [[False]])
        self.assertTrue(os.path.exists(self.unix("locked.txt")))
        self.assertEqual(result.debug, [])


class DeleteQuestionTest(FolderCase):
    """Lua_DeleteFile on a file that another program holds open: the box and
    its Abort, Retry and Ignore."""

    def setUp(self):
        super().setUp()
        self.make("locked.txt")
        self.path = self.win("locked.txt")
        self.held = neb.HeldFile(self.path)
        self.addCleanup(self.held.release)
        # Exists, delete, exists: the output shows how far the script got.
        self.calls = [["Lua_PathFileExists", s(self.path)], ["Lua_DeleteFile", s(self.path)],
                      ["Lua_PathFileExists", s(self.path)]]

    def test_ignore_keeps_the_file_and_answers_true(self):
        box = neb.BoxAnswer(BOX_CAPTION, button="ignore")
        result = host_calls(*self.calls)
        self.assertEqual(box.text(), BOX_TEXT.format(self.path))
        self.assertResults(result, [[True], [True], [True]])
        self.assertTrue(os.path.exists(self.unix("locked.txt")))
        self.assertEqual(len(result.debug), 2, result.debug)
        self.assertEqual(result.debug[0], "qd Delete %s failed!\r\n" % self.path)
        self.assertRegex(result.debug[1], SHELL_ERROR_LINE)

    def test_abort_ends_the_process_with_code_0(self):
        box = neb.BoxAnswer(BOX_CAPTION, button="abort")
        result = host_calls(*self.calls)
        self.assertEqual(box.text(), BOX_TEXT.format(self.path))
        self.assertEqual(result.returncode, 0)
        self.assertResults(result, [[True]])
        self.assertTrue(os.path.exists(self.unix("locked.txt")))
        self.assertEqual(result.debug, [])

    def test_retry_asks_again_while_in_use_and_deletes_once_free(self):
        process = start_host_calls(*self.calls)
        try:
            first = neb.BoxAnswer(BOX_CAPTION, button="retry")
            self.assertEqual(first.text(), BOX_TEXT.format(self.path))
            second = neb.BoxAnswer(BOX_CAPTION, button="retry", hold=True)
            self.assertEqual(second.shown_text(), BOX_TEXT.format(self.path))
            self.held.release()
            self.assertTrue(second.press())
            result = finish_host_calls(process)
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()
        self.assertResults(result, [[True], [True], [False]])
        self.assertFalse(os.path.exists(self.unix("locked.txt")))
        self.assertEqual(result.debug, [])


class RecursiveDeleteTest(FolderCase):
    FUNCTIONS = [("Lua_DelFileRecursive", "NEBScriptEngine::DeleteDirectories"),
                 ("Lua_DelFileRecursiveEx", "NEBScriptEngine::DeleteDirectoriesEx")]

    def test_a_missing_path_is_true(self):
        for function, _ in self.FUNCTIONS:
            with self.subTest(function=function):
                result = host_calls([function, s(self.win("missing"))])
                self.assertResults(result, [[True]])
                self.assertEqual(result.debug, ["qd " + function])

    def test_a_tree_with_a_read_only_file_goes_and_no_value_comes_back(self):
        for function, label in self.FUNCTIONS:
            with self.subTest(function=function):
                self.fresh_folder()
                subfolders = self.make_tree("tree")
                result = host_calls([function, s(self.win("tree")), "fn"])
                self.assertResults(result, [[]])
                self.assertFalse(os.path.exists(self.unix("tree")))
                self.assertEqual(result.callbacks, [])
                self.assertEqual(result.debug[:3], ["qd " + function, "qd PathIsDirectoryW",
                                                    "qd %s %s" % (label, self.win("tree"))])
                self.assertCountEqual(result.debug[3:], ["qd %s %s\\%s" % (label, self.win("tree"), sub)
                                                         for sub in subfolders])

    def test_a_single_file_goes_and_no_value_comes_back(self):
        for function, _ in self.FUNCTIONS:
            with self.subTest(function=function):
                self.make("file.txt")
                result = host_calls([function, s(self.win("file.txt"))])
                self.assertResults(result, [[]])
                self.assertFalse(os.path.exists(self.unix("file.txt")))
                self.assertEqual(result.debug, ["qd " + function, "qd Path is file!"])

    def test_a_file_in_use_is_reported_once_with_its_code_and_the_rest_goes(self):
        self.make_tree("tree")
        locked = self.make("tree", "sub", "locked.txt")
        result = host_calls(["hold", self.win("tree", "sub", "locked.txt")],
                            ["Lua_DelFileRecursiveEx", s(self.win("tree")), "fn"])
        self.assertResults(result, [[]])
        self.assertEqual(result.callbacks, [(self.win("tree", "sub", "locked.txt"), ERROR_SHARING_VIOLATION)])
        remaining = [os.path.relpath(os.path.join(folder, name), self.root)
                     for folder, dirs, files in os.walk(self.root) for name in dirs + files]
        self.assertCountEqual(remaining, ["tree", "tree/sub", "tree/sub/locked.txt"])
        self.assertTrue(os.path.exists(locked))

    def test_a_single_file_in_use_is_reported_once(self):
        self.make("locked.txt")
        result = host_calls(["hold", self.win("locked.txt")],
                            ["Lua_DelFileRecursiveEx", s(self.win("locked.txt")), "fn"])
        self.assertResults(result, [[]])
        self.assertEqual(result.callbacks, [(self.win("locked.txt"), ERROR_SHARING_VIOLATION)])

    def test_only_a_last_argument_that_is_a_function_is_the_callback(self):
        cases = [
            ("Lua_DelFileRecursiveEx", ["fn", s("surplus")]),
            ("Lua_DelFileRecursiveEx", []),
            ("Lua_DelFileRecursive", ["fn"]),
        ]
        for function, tail in cases:
            with self.subTest(function=function, tail=tail):
                self.fresh_folder()
                self.make("tree", "other.txt")
                self.make("tree", "locked.txt")
                result = host_calls(["hold", self.win("tree", "locked.txt")],
                                    [function, s(self.win("tree")), *tail])
                self.assertEqual(result.callbacks, [])
                self.assertEqual(os.listdir(self.unix("tree")), ["locked.txt"])

    def test_the_current_folder_is_removed_after_moving_to_its_parent(self):
        for function, _ in self.FUNCTIONS:
            with self.subTest(function=function):
                self.fresh_folder()
                self.make_tree("current")
                # A relative name written afterwards lands in the new current folder.
                result = host_calls([function, s(self.win("current"))], ["write", "marker.txt"],
                                    cwd=self.unix("current"))
                self.assertResults(result, [[]])
                self.assertFalse(os.path.exists(self.unix("current")))
                self.assertTrue(os.path.exists(self.unix("marker.txt")))

    # Links are planted as Unix symbolic links: Wine shows one to a folder as
    # a folder with the reparse-point attribute, and its CreateSymbolicLinkW
    # creates nothing.
    def test_links_planted_before_the_deletion_are_not_followed(self):
        cases = [
            # case, the link, what it points to, whether the tree holds a
            # file of its own besides the link (which must go)
            ("a folder link inside the tree", ("tree", "link"), ("outside",), True),
            ("a file link inside the tree", ("tree", "link.txt"), ("outside", "keep.txt"), True),
            ("the named path itself a folder link", ("tree",), ("outside",), False),
            ("the named path itself a file link", ("tree",), ("outside", "keep.txt"), False),
        ]
        for function, _ in self.FUNCTIONS:
            for name, link, target, own_file in cases:
                with self.subTest(function=function, case=name):
                    self.fresh_folder()
                    keep = self.make("outside", "keep.txt")
                    self.make("outside", "f.txt")
                    if own_file:
                        self.make("tree", "f.txt")
                    os.symlink(self.unix(*target), self.unix(*link))
                    host_calls([function, s(self.win("tree")), "fn"], timeout=NO_BOX_TIMEOUT)
                    self.assertTrue(os.path.exists(keep))
                    self.assertTrue(os.path.exists(self.unix("outside", "f.txt")))
                    if own_file:
                        self.assertFalse(os.path.exists(self.unix("tree", "f.txt")))

    def test_a_folder_swapped_for_a_link_while_the_deletion_runs_is_not_followed(self):
        # Every file of tree/sub is held, so the first one the deletion
        # reaches calls back; while the callback waits, the folder is moved
        # away and a link to a folder outside, holding files of the same
        # names, takes its place. The deletion goes on with the other files.
        names = ["f%02d.txt" % i for i in range(20)]
        for name in names:
            self.make("tree", "sub", name)
            self.make("outside", name)
        holds = [["hold", self.win("tree", "sub", name)] for name in names]
        process = start_host_calls(*holds, ["Lua_DelFileRecursiveEx", s(self.win("tree")), "pause"],
                                   stdin=subprocess.PIPE)
        try:
            first = process.stdout.readline()
            self.assertTrue(first.startswith("callback\t"), first)
            os.rename(self.unix("tree", "sub"), self.unix("tree", "moved"))
            os.symlink(self.unix("outside"), self.unix("tree", "sub"))
            process.stdin.write("\n")
            process.stdin.flush()
            stdout, _ = process.communicate(timeout=60)
        finally:
            if process.poll() is None:
                process.kill()
                process.communicate()
        self.assertEqual(sorted(os.listdir(self.unix("outside"))), names)
        self.assertEqual(sorted(os.listdir(self.unix("tree", "moved"))), names)
        self.assertEqual(stdout.count("callback\t"), len(names) - 1, stdout)


class LinkRefusalTest(FolderCase):
    """The host functions that move, copy, delete, create or schedule a path
    refuse one that runs through a junction or symbolic link (here a Unix
    symbolic link, as Wine shows them), in its folders or as its last
    component: the file outside the folder stays where it is."""

    def test_paths_through_links_are_refused(self):
        os.makedirs(self.unix("outside"))
        self.make("outside", "secret.dll", content="system")
        self.make("plain.txt")
        os.makedirs(self.unix("aside"))
        os.symlink(self.unix("outside"), self.unix("linked"))
        os.symlink(self.unix("outside", "secret.dll"), self.unix("file-link.dll"))
        through = self.win("linked", "secret.dll")
        cases = [
            ["Lua_MoveFile", s(through), s(self.win("aside", "moved.dll"))],
            ["Lua_MoveFile", s(self.win("file-link.dll")), s(self.win("aside", "moved.dll"))],
            ["Lua_MoveFile", s(self.win("plain.txt")), s(self.win("linked", "planted.txt"))],
            ["Lua_CopyFile", s(self.win("plain.txt")), s(self.win("linked", "planted.txt"))],
            ["Lua_RenameFile", s(through), s(self.win("aside", "renamed.dll"))],
            ["Lua_DeleteFile", s(through)],
            ["Lua_DeleteFileEx", s(through)],
            ["Lua_DeleteFileEx", s(self.win("file-link.dll"))],
            ["Lua_DelFileRecursive", s(self.win("linked"))],
            ["Lua_DeleteFileAfterReboot", s(through)],
            ["Lua_CreateDirectory", s(self.win("linked", "new"))],
            ["Lua_ExtractResource", s("LUA"), s("INSTSCRIPT.LUAC"), s(through)],
        ]
        for call in cases:
            with self.subTest(call=call[0], path=call[1]):
                result = host_calls(call)
                self.assertResults(result, [[False]])
                self.assertTrue(any("runs through a junction or symbolic link" in line for line in result.debug),
                                result.debug)
                self.assertEqual(sorted(os.listdir(self.unix("outside"))), ["secret.dll"])
                self.assertEqual(self.content("outside", "secret.dll"), "system")
                self.assertEqual(os.listdir(self.unix("aside")), [])
                self.assertNotIn("secret.dll", pending_deletions().lower())

    def test_a_link_the_recursive_delete_cannot_remove_reaches_the_callback_without_a_path(self):
        os.makedirs(self.unix("outside"))
        os.makedirs(self.unix("tree"))
        self.make("outside", "held.dll", content="system")
        os.symlink(self.unix("outside", "held.dll"), self.unix("tree", "held.dll"))
        holder = neb.HeldFile(self.win("outside", "held.dll"), exclusive=True)
        self.addCleanup(holder.release)
        result = host_calls(["Lua_DelFileRecursiveEx", s(self.win("tree")), "fn"])
        holder.release()
        self.assertEqual(result.callbacks, [("", "1920")])
        self.assertEqual(self.content("outside", "held.dll"), "system")


class DeleteAtRestartTest(FolderCase):
    def test_schedules_files_and_empty_folders(self):
        self.make("file.txt")
        os.makedirs(self.unix("empty"))
        for name in ["file.txt", "empty"]:
            with self.subTest(name=name):
                result = host_calls(["Lua_DeleteFileAfterReboot", s(self.win(name))])
                self.assertResults(result, [[True]])
                self.assertIn("\\??\\" + self.win(name), pending_deletions())
                self.assertEqual(result.debug, ["qd Lua_DeleteFileAfterReboot"])

    def test_a_path_other_users_can_change_is_not_scheduled(self):
        """The system deletes at boot whatever the path then leads to: a
        folder on the way that other users may change (here open to
        everybody, which Wine shows as an entry for Everyone) could be a
        junction by then."""
        os.makedirs(self.unix("open", "inner"))
        self.make("open", "inner", "file.txt")
        os.chmod(self.unix("open"), 0o777)
        result = host_calls(["Lua_DeleteFileAfterReboot", s(self.win("open", "inner", "file.txt"))])
        self.assertResults(result, [[False]])
        self.assertNotIn(self.win("open", "inner", "file.txt").lower(), pending_deletions().lower())
        self.assertTrue(any("other users can change " + self.win("open") in line for line in result.debug),
                        result.debug)

    def test_a_missing_path_is_true_and_not_scheduled(self):
        result = host_calls(["Lua_DeleteFileAfterReboot", s(self.win("missing.txt"))])
        self.assertResults(result, [[True]])
        self.assertNotIn(self.win("missing.txt"), pending_deletions())


class NamesTest(FolderCase):
    def test_path_file_exists(self):
        self.make("a.txt")
        cases = [
            (s(self.win("a.txt")), True),
            (s(self.win()), True),
            (s(self.win("missing.txt")), False),
            ("nil", False),
            (s("%NEB_CASE_ROOT%\\a.txt"), False),  # not expanded
        ]
        for argument, expected in cases:
            with self.subTest(argument=argument):
                result = host_calls(["Lua_PathFileExists", argument], NEB_CASE_ROOT=self.win())
                self.assertResults(result, [[expected]])

    def test_unique_names_number_the_name_within_its_folder(self):
        self.make("a.txt")
        self.make("b.txt")
        self.make("b (2).txt")
        os.makedirs(self.unix("folder"))
        cases = [
            ("a.txt", "a (2).txt"),
            ("b.txt", "b (3).txt"),
            ("folder", "folder (2)"),
            ("free.txt", "free.txt"),
        ]
        for name, expected in cases:
            with self.subTest(name=name):
                result = host_calls(["Lua_PathYetAnotherMakeUniqueName", s(self.win(name))])
                self.assertResults(result, [[self.win(expected)]])

    def test_temporary_files_are_created_and_differ(self):
        result = host_calls(["Lua_GetTempFileName", s(self.win()), s("Tqmov")],
                            ["Lua_GetTempFileName", s(self.win()), s("Tqmov")])
        names = [values[0] for values in result.results]
        self.assertEqual(len(set(names)), 2, names)
        for name in names:
            folder, base = name.rsplit("\\", 1)
            self.assertEqual(folder, self.win())
            self.assertRegex(base, r"^Tqm[0-9A-Fa-f]+\.tmp$")
            self.assertEqual(os.path.getsize(self.unix(base)), 0)

    def test_a_temporary_file_in_a_missing_folder_is_nil(self):
        result = host_calls(["Lua_GetTempFileName", s(self.win("missing")), s("Tq")])
        self.assertResults(result, [[None]])

    def test_the_work_folder_is_local_application_data(self):
        result = host_calls(["Lua_GetTempPath"], ["Lua_ExpandEnv", s("%TEMP%")])
        expected = neb.c_drive_path(neb.user_folder("AppData", "Local"))
        self.assertEqual(result.results[0], [expected])
        self.assertNotEqual(result.results[0], result.results[1])


class EnvironmentTest(FolderCase):
    def test_expansion_reads_the_last_argument(self):
        long_value = "C:\\" + "x" * 300
        cases = [
            ([s("%NEB_A%\\file")], "C:\\first\\file"),
            ([s("%NEB_A%"), s("%NEB_B%")], "C:\\second"),
            ([], ""),
            (["nil"], ""),
            ([n(5)], "5"),
            ([s("%NEB_UNSET_NAME%")], "%NEB_UNSET_NAME%"),
            ([s("%NEB_LONG%")], long_value),  # longer than a path buffer, whole
        ]
        for args, expected in cases:
            with self.subTest(args=args):
                result = host_calls(["Lua_ExpandEnv", *args],
                                    NEB_A="C:\\first", NEB_B="C:\\second", NEB_LONG=long_value)
                self.assertResults(result, [[expected]])

    def test_special_folders_become_environment_variables(self):
        cases = [
            (n(16), neb.c_drive_path(neb.user_folder("Desktop"))),
            (s("26"), neb.c_drive_path(neb.user_folder("AppData", "Roaming"))),
            (n(27.6), neb.c_drive_path(neb.user_folder("AppData", "Local"))),
            (n(23), "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"),
            (n(35), "C:\\ProgramData"),
        ]
        for csidl, expected in cases:
            with self.subTest(csidl=csidl):
                result = host_calls(["Lua_RegVarByCSIDL", s("NEB_FOLDER"), csidl],
                                    ["Lua_ExpandEnv", s("%NEB_FOLDER%\\x")])
                self.assertResults(result, [[True], [expected + "\\x"]])
                self.assertEqual(result.debug, [])

    def test_a_failed_special_folder_or_variable_is_false_with_a_trace(self):
        cases = [
            (s("NEB_FOLDER"), n(999), "qd SHGetSpecialFolderPathW csidl=999 failed!\r\n", "qd qd file:"),
            (s("NEB_FOLDER"), n(1e20), "qd SHGetSpecialFolderPathW csidl=-1 failed!\r\n", "qd qd file:"),
            ("nil", n(16), None, "qd SetEnvironmentVariableW failed!qd file:"),
        ]
        for name, csidl, first_line, trace_start in cases:
            with self.subTest(name=name, csidl=csidl):
                result = host_calls(["Lua_RegVarByCSIDL", name, csidl])
                self.assertResults(result, [[False]])
                trace = result.debug
                if first_line:
                    self.assertEqual(trace[0], first_line)
                    trace = trace[1:]
                self.assertEqual(len(trace), 3, result.debug)
                self.assertTrue(trace[0].startswith(trace_start), trace[0])
                self.assertRegex(trace[1], r"^qd qd line:\d+\r\n$")
                self.assertRegex(trace[2], r"^qd qd err:\d+\r\n$")

    def test_path_arguments_are_expanded(self):
        root = "%NEB_CASE_ROOT%"
        cases = [
            (["Lua_CreateDirectory", s(root + "\\made")], [True], ["made"], []),
            (["Lua_CopyFile", s(root + "\\a.txt"), s(root + "\\copy.txt")], [True], ["a.txt", "copy.txt"], []),
            (["Lua_MoveFile", s(root + "\\a.txt"), s(root + "\\moved.txt")], [True], ["moved.txt"], ["a.txt"]),
            (["Lua_RenameFile", s(root + "\\a.txt"), s(root + "\\renamed.txt")], [True], ["renamed.txt"],
             ["a.txt"]),
            (["Lua_DeleteFile", s(root + "\\a.txt")], [True], [], ["a.txt"]),
            (["Lua_DeleteFileEx", s(root + "\\a.txt")], [True], [], ["a.txt"]),
            (["Lua_DelFileRecursive", s(root + "\\tree")], [], [], ["tree"]),
            (["Lua_DelFileRecursiveEx", s(root + "\\tree")], [], [], ["tree"]),
            (["Lua_DeleteFileAfterReboot", s(root + "\\a.txt")], [True], ["a.txt"], []),
        ]
        for call, values, present, gone in cases:
            with self.subTest(call=call[0]):
                self.fresh_folder()
                self.make("a.txt")
                self.make("tree", "f.txt")
                result = host_calls(call, timeout=NO_BOX_TIMEOUT, NEB_CASE_ROOT=self.win())
                self.assertResults(result, [values])
                for name in present:
                    self.assertTrue(os.path.exists(self.unix(name)), name)
                for name in gone:
                    self.assertFalse(os.path.exists(self.unix(name)), name)
        result = host_calls(["Lua_GetTempFileName", s(root), s("Tq")], NEB_CASE_ROOT=self.win())
        self.assertTrue(result.results[0][0].startswith(self.win() + "\\"), result.results)


if __name__ == "__main__":
    unittest.main()
