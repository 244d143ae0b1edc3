/* The lazy-import descriptors, one per system library in an input section
   named ".text$2", sort together into the code section. This zero descriptor,
   in a section whose name sorts right after theirs, ends their table, as the
   table's readers expect (tools/check_imports.py points the file's lazy-import
   directory at it). The label is local: nothing refers to it by name, and a
   global one would be among the exports of an i686 library that exports
   nothing else, where the linker then fails to find it under its decorated
   name. */
	.section ".text$2~", "dr"
	.p2align 2
neb_lazy_import_table_end:
	.fill 32, 1, 0

/* The link drops sections that nothing refers to (--gc-sections), and nothing
   refers to this one: a word in the exception tables, which the link always
   keeps and only reads through the unwind tables' own pointers, refers to it
   and so keeps it. */
	.section .gcc_except_table, "dr"
	.p2align 2
	.rva neb_lazy_import_table_end
