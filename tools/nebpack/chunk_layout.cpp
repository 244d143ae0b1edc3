#include "tools/nebpack/chunk_layout.h"

#include <cstring>

#include "script/lua.h"

namespace nebpack {

namespace {

constexpr char kSignature[] = "\x1bLua";
constexpr uint8_t kVersion = 0x52;
constexpr char kTail[] = "\x19\x93\r\n\x1a\n";
constexpr size_t kHeaderSize = 18;

class ChunkReader {
 public:
  ChunkReader(const std::string& bytes, int sizeTWidth) : bytes_(bytes), pos_(kHeaderSize), sizeTWidth_(sizeTWidth) {}

  bool Function(ChunkFunction& f) {
    if (!Int(f.lineDefined) || !Int(f.lastLineDefined) || !Byte(f.numParams) || !Byte(f.isVararg) ||
        !Byte(f.maxStackSize)) {
      return false;
    }
    int32_t n = 0;
    if (!Count(n, 4)) return false;
    f.code.resize(n);
    if (!Block(f.code.data(), n * 4u)) return false;
    if (!Count(n, 1)) return false;
    f.constants.resize(n);
    for (ChunkConstant& k : f.constants) {
      if (!Constant(k)) return false;
    }
    if (!Count(n, 1)) return false;
    f.functions.resize(n);
    for (ChunkFunction& inner : f.functions) {
      if (!Function(inner)) return false;
    }
    if (!Count(n, 2)) return false;
    f.upvalues.resize(n * 2u);
    if (!Block(f.upvalues.data(), n * 2u)) return false;
    return Debug(f);
  }

  bool AtEnd() const { return pos_ == bytes_.size(); }

 private:
  bool Block(void* out, size_t size) {
    if (size > bytes_.size() - pos_) return false;
    if (size > 0) std::memcpy(out, bytes_.data() + pos_, size);
    pos_ += size;
    return true;
  }
  bool Byte(uint8_t& out) { return Block(&out, 1); }
  bool Int(int32_t& out) { return Block(&out, 4); }
  // A count of elements at least `minimumSize` bytes each that the rest can hold.
  bool Count(int32_t& n, size_t minimumSize) {
    return Int(n) && n >= 0 && static_cast<size_t>(n) * minimumSize <= bytes_.size() - pos_;
  }
  bool Size(uint64_t& out) {
    out = 0;
    return Block(&out, sizeTWidth_);
  }
  bool String(std::string& out) {
    uint64_t size = 0;
    if (!Size(size) || size > bytes_.size() - pos_) return false;
    out.assign(bytes_, pos_, size > 0 ? size - 1 : 0);  // the stored size counts the terminating zero
    pos_ += size;
    return true;
  }
  bool Constant(ChunkConstant& k) {
    if (!Byte(k.type)) return false;
    switch (k.type) {
      case LUA_TNIL: return true;
      case LUA_TBOOLEAN: return Byte(k.boolean);
      case LUA_TNUMBER: return Block(&k.number, 8);
      case LUA_TSTRING: return String(k.text);
      default: return false;
    }
  }
  bool Debug(ChunkFunction& f) {
    std::string ignored;
    int32_t n = 0;
    if (!String(ignored) || !Count(n, 4)) return false;
    f.lineInfo.resize(n);
    if (!Block(f.lineInfo.data(), n * 4u)) return false;
    if (!Count(n, 8)) return false;
    for (int32_t i = 0; i < n; ++i) {
      int32_t pc = 0;
      if (!String(ignored) || !Int(pc) || !Int(pc)) return false;
    }
    if (!Count(n, 1)) return false;
    for (int32_t i = 0; i < n; ++i) {
      if (!String(ignored)) return false;
    }
    return true;
  }

  const std::string& bytes_;
  size_t pos_;
  int sizeTWidth_;
};

class ChunkWriter {
 public:
  explicit ChunkWriter(int sizeTWidth) : sizeTWidth_(sizeTWidth) {}

  void Header() {
    out_.append(kSignature, 4);
    const char layout[] = {static_cast<char>(kVersion), 0, 1, 4, static_cast<char>(sizeTWidth_), 4, 8, 0};
    out_.append(layout, sizeof(layout));
    out_.append(kTail, 6);
  }

  void Function(const ChunkFunction& f) {
    Int(f.lineDefined);
    Int(f.lastLineDefined);
    Byte(f.numParams);
    Byte(f.isVararg);
    Byte(f.maxStackSize);
    Int(static_cast<int32_t>(f.code.size()));
    Block(f.code.data(), f.code.size() * 4);
    Int(static_cast<int32_t>(f.constants.size()));
    for (const ChunkConstant& k : f.constants) Constant(k);
    Int(static_cast<int32_t>(f.functions.size()));
    for (const ChunkFunction& inner : f.functions) Function(inner);
    Int(static_cast<int32_t>(f.upvalues.size() / 2));
    Block(f.upvalues.data(), f.upvalues.size());
    // Stripped: no source name, no line table, no local or upvalue names.
    Size(0);
    Int(0);
    Int(0);
    Int(0);
  }

  const std::string& Bytes() const { return out_; }

 private:
  void Block(const void* data, size_t size) { out_.append(static_cast<const char*>(data), size); }
  void Byte(uint8_t value) { out_.push_back(static_cast<char>(value)); }
  void Int(int32_t value) { Block(&value, 4); }
  void Size(uint64_t value) { Block(&value, sizeTWidth_); }
  void Constant(const ChunkConstant& k) {
    Byte(k.type);
    switch (k.type) {
      case LUA_TBOOLEAN: Byte(k.boolean); break;
      case LUA_TNUMBER: Block(&k.number, 8); break;
      case LUA_TSTRING:
        Size(k.text.size() + 1);
        Block(k.text.c_str(), k.text.size() + 1);
        break;
      default: break;
    }
  }

  std::string out_;
  int sizeTWidth_;
};

}  // namespace

bool ReadChunk(const std::string& bytes, ChunkFunction& main, std::string& error) {
  if (bytes.size() < kHeaderSize || bytes.compare(0, 4, kSignature) != 0 ||
      static_cast<uint8_t>(bytes[4]) != kVersion) {
    error = "not a Lua 5.2 chunk";
    return false;
  }
  const int sizeTWidth = bytes[8];
  if (bytes[5] != 0 || bytes[6] != 1 || bytes[7] != 4 || (sizeTWidth != 4 && sizeTWidth != 8) || bytes[9] != 4 ||
      bytes[10] != 8 || bytes[11] != 0 || bytes.compare(12, 6, kTail) != 0) {
    error = "a Lua 5.2 chunk of an unknown layout";
    return false;
  }
  ChunkReader reader(bytes, sizeTWidth);
  if (!reader.Function(main) || !reader.AtEnd()) {
    error = "a damaged Lua 5.2 chunk";
    return false;
  }
  return true;
}

std::string WriteStrippedChunk(const ChunkFunction& main, int sizeTWidth) {
  ChunkWriter writer(sizeTWidth);
  writer.Header();
  writer.Function(main);
  return writer.Bytes();
}

}  // namespace nebpack
