"""The script string types WString and AString, run through nebscript in the
installer's engine. Each case is a Lua expression and the text that `show`
prints for its value: a WString or AString as its type and text, anything
else through tostring.

The test session runs Wine with the C.UTF-8 locale, whose ANSI code page is
1252: AString holds "é" as one byte and turns Chinese characters into "?".
"""
import unittest

import neb

PRELUDE = r"""
local registry = debug.getregistry()
function show(value)
  local meta = getmetatable(value)
  if meta ~= nil and meta == registry.WStringMetaTable then return "W:" .. tostring(value) end
  if meta ~= nil and meta == registry.AStringMetaTable then return "A:" .. tostring(value) end
  return tostring(value)
end
-- The block's size in units: the first index that reads nil.
function units(s)
  local i = 0
  while s[i] ~= nil do i = i + 1 end
  return i
end
"""


class ScriptStringsTest(unittest.TestCase):
    def run_cases(self, cases, setup=""):
        """Evaluates each (expression, expected) case after `setup`; one nebscript run."""
        body = [PRELUDE, setup]
        for expression, _ in cases:
            body.append("print(show(%s))" % expression)
        result = neb.run_lua("\n".join(body))
        self.assertEqual(result.returncode, 0, result.stderr)
        printed = result.stdout.splitlines()
        self.assertEqual(len(printed), len(cases), result.stdout)
        for (expression, expected), got in zip(cases, printed):
            with self.subTest(expression=expression):
                self.assertEqual(got, expected)

    def test_modules_and_metatables(self):
        self.run_cases([
            ("package.loaded.WString == WString and package.loaded.AString == AString", "true"),
            ("next(WString) .. ' ' .. tostring(next(WString, 'New'))", "New nil"),
            ("next(AString) .. ' ' .. tostring(next(AString, 'New'))", "New nil"),
            ("type(WString.New(1))", "userdata"),
            ("type(registry.WStringMetaTable.__index)", "function"),
            ("type(registry.AStringMetaTable.__eq)", "function"),
        ])

    def test_new_sizes_the_block_from_the_capacity_and_the_text(self):
        self.run_cases([
            ("WString.New(0)", "nil"),
            ("WString.New()", "nil"),
            ("WString.New(-1)", "nil"),
            ("WString.New('x')", "nil"),
            ("units(WString.New(5)) .. ' ' .. #WString.New(5)", "5 0"),
            ("WString.New(5)[4]", ""),
            ("units(WString.New(nil, 'abc')) .. ' ' .. #WString.New(nil, 'abc')", "4 3"),
            ("units(WString.New(10, 'abc')) .. ' ' .. #WString.New(10, 'abc')", "10 3"),
            ("units(WString.New(2, 'abc'))", "4"),
            ("units(WString.New(3, 'abc'))", "4"),
            ("units(WString.New(-7, 'abc'))", "4"),
            ("units(WString.New(nil, nil)) .. ' ' .. #WString.New(nil, nil)", "1 0"),
            ("units(WString.New(8, {})) .. ' ' .. #WString.New(8, {})", "8 0"),
            ("WString.New(nil, 12.5)", "W:12.5"),
            ("WString.New(nil, true)", "W:"),
            ("WString.New(nil, AString.New(nil, 'C:\\\\caf\u00e9'))", "W:C:\\caf\u00e9"),
            ("AString.New(0)", "nil"),
            ("units(AString.New(5)) .. ' ' .. #AString.New(5)", "5 0"),
            ("units(AString.New(nil, 'abc')) .. ' ' .. #AString.New(nil, 'abc')", "4 3"),
            ("units(AString.New(2, 'abc'))", "4"),
            ("AString.New(nil, 'C:\\\\caf\u00e9')", "A:C:\\caf\u00e9"),
            ("#AString.New(nil, 'C:\\\\caf\u00e9')", "7"),
            ("AString.New(nil, WString.New(nil, 'C:\\\\caf\u00e9'))", "A:C:\\caf\u00e9"),
            ("AString.New(nil, 7)", "A:7"),
            ("AString.New(nil, print)", "A:"),
        ])

    def test_index_reads_and_writes_within_their_limits(self):
        self.run_cases([
            ("w[0] .. w[1] .. w[2]", "abc"),
            ("w[3] == ''", "true"),
            ("w[-1]", "nil"),
            ("w[4]", "nil"),
            ("w.x", "a"),
            ("w['2']", "c"),
            ("(function() w[1] = 'xyz' return w end)()", "W:axc"),
            ("(function() w[0] = 'z' return w end)()", "W:axc"),
            ("(function() w[3] = 'z' return w end)()", "W:axc"),
            ("(function() w[2] = '' return w end)()", "W:axc"),
            ("(function() w[2] = {} return w end)()", "W:axc"),
            ("(function() w[2] = 9 return w end)()", "W:ax9"),
            ("(function() w[1] = '\u4e2d' return w end)()", "W:a\u4e2d9"),
            ("(function() long[4] = 'z' return long end)()", "W:ab"),
            ("a[3] .. ' ' .. tostring(a[4] == '') .. ' ' .. tostring(a[5])", "\u00e9 true nil"),
            ("(function() a[1] = '\u00e9' return a end)()", "A:c\u00e9f\u00e9"),
            ("(function() a[2] = 'xyz' return a end)()", "A:c\u00e9x\u00e9"),
        ], setup="w = WString.New(nil, 'abc') long = WString.New(10, 'ab') a = AString.New(nil, 'caf\u00e9')")

    def test_length_and_text_of_chinese_and_latin_text(self):
        self.run_cases([
            ("#WString.New(nil, '\u4e2d\u6587')", "2"),
            ("tostring(WString.New(nil, '\u4e2d\u6587abc'))", "\u4e2d\u6587abc"),
            ("WString.New(nil, '\u4e2d\u6587')[1]", "\u6587"),
            ("#AString.New(nil, '\u4e2d\u6587')", "2"),
            ("tostring(AString.New(nil, '\u4e2d\u6587'))", "??"),
            ("#WString.New(nil, 'caf\u00e9')", "4"),
            ("#AString.New(nil, 'caf\u00e9')", "4"),
        ])

    def test_concat_gives_the_type_of_the_metamethod_that_runs(self):
        self.run_cases([
            ("w .. 1", "W:a1"),
            ("1 .. w", "W:1a"),
            ("'x' .. w", "W:xa"),
            ("w .. 'x' .. 'y'", "W:axy"),
            ("w .. a", "W:ab"),
            ("a .. w", "A:ba"),
            ("w .. w", "W:aa"),
            ("a .. 2.5", "A:b2.5"),
            ("w .. {}", "W:a"),
            ("true .. a", "A:b"),
            ("units(w .. 'bc')", "4"),
            ("units(WString.New(9, 'a') .. 'bc')", "4"),
            ("w .. '\u4e2d'", "W:a\u4e2d"),
        ], setup="w = WString.New(nil, 'a') a = AString.New(nil, 'b')")

    def test_equality_needs_the_same_type_and_text(self):
        self.run_cases([
            ("WString.New(nil, 'abc') == WString.New(8, 'abc')", "true"),
            ("WString.New(nil, 'abc') == WString.New(nil, 'abd')", "false"),
            ("WString.New(nil, 'abc') == WString.New(nil, 'ABC')", "false"),
            ("WString.New(nil, 'abc') == WString.New(nil, 'abcd')", "false"),
            ("WString.New(nil, '\u4e2d\u6587') == WString.New(nil, '\u4e2d\u6587')", "true"),
            ("WString.New(nil, 'abc') == 'abc'", "false"),
            ("WString.New(nil, 'abc') == AString.New(nil, 'abc')", "false"),
            ("AString.New(nil, 'abc') == AString.New(nil, WString.New(nil, 'abc'))", "true"),
            ("AString.New(nil, 'abc') == AString.New(nil, 'aBc')", "false"),
            ("AString.New(5) == AString.New(9)", "true"),
            ("registry.WStringMetaTable.__eq(WString.New(nil, 'a'), AString.New(nil, 'a'))", "false"),
        ])


if __name__ == "__main__":
    unittest.main()
