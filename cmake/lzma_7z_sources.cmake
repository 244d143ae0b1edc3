# The LZMA SDK's 7z decoder (archive database, coders and CRC checks) in the
# dependency cache: the program's lzma_7z, and the native build of the
# extractor's portable part (tests/native).
set(NEB_7Z_SRC ${NEB_DEPS_DIR}/src/7zip/C)
set(NEB_7Z_DECODER_SOURCES
  7zAlloc.c 7zArcIn.c 7zBuf.c 7zBuf2.c 7zCrc.c 7zCrcOpt.c 7zDec.c 7zStream.c
  Bcj2.c Bra.c Bra86.c BraIA64.c CpuArch.c Delta.c Lzma2Dec.c LzmaDec.c Ppmd7.c Ppmd7Dec.c)
list(TRANSFORM NEB_7Z_DECODER_SOURCES PREPEND ${NEB_7Z_SRC}/)
