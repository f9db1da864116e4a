#pragma once
// What the hostile files are written with: little-endian bytes built up in
// memory, and files written whole or sparse.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace pictavo::hostile {

class Bytes {
  public:
    Bytes& u8(uint32_t value) {
        data_.push_back(static_cast<char>(value & 0xFF));
        return *this;
    }
    Bytes& u16(uint32_t value) { return u8(value).u8(value >> 8); }
    Bytes& u32(uint32_t value) { return u16(value & 0xFFFF).u16(value >> 16); }
    // Big-endian, as JPEG and some TIFF files store them.
    Bytes& u16be(uint32_t value) { return u8(value >> 8).u8(value); }
    Bytes& u32be(uint32_t value) { return u16be(value >> 16).u16be(value & 0xFFFF); }
    Bytes& text(const std::string& value) {
        data_ += value;
        return *this;
    }
    Bytes& zeros(size_t count) {
        data_.append(count, '\0');
        return *this;
    }
    size_t size() const { return data_.size(); }
    const std::string& data() const { return data_; }

  private:
    std::string data_;
};

inline void writeFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// content, then zeros up to total bytes without writing them: a sparse file
// costs neither disk nor time however big it claims to be.
inline void writeSparse(const std::filesystem::path& path, const std::string& content,
                        uint64_t total) {
    writeFile(path, content);
    if (truncate(path.c_str(), static_cast<off_t>(total)) != 0)
        throw std::runtime_error("cannot extend " + path.string());
}

// --- DXF ---

inline std::string group(int code, const std::string& value) {
    return std::to_string(code) + "\n" + value + "\n";
}

inline std::string dxfFile(const std::string& blocks, const std::string& entities) {
    return group(0, "SECTION") + group(2, "BLOCKS") + blocks + group(0, "ENDSEC") +
           group(0, "SECTION") + group(2, "ENTITIES") + entities + group(0, "ENDSEC") +
           group(0, "EOF");
}

// --- WMF ---

// A metafile header and a 1000 x 1000 window, then body, then the end
// record; with placeable, the placeable header that gives the picture's
// size first.
inline std::string metafile(const Bytes& body, const std::string& placeable = {}) {
    Bytes file;
    file.u16(1).u16(9).u16(0x0300);
    file.u32(static_cast<uint32_t>((18 + 20 + body.size() + 6) / 2));
    file.u16(0).u32(0).u16(0);
    file.u32(5).u16(0x020B).u16(0).u16(0);        // SetWindowOrg 0, 0
    file.u32(5).u16(0x020C).u16(1000).u16(1000);  // SetWindowExt 1000 x 1000
    file.u32(5).u16(0x0213).u16(500).u16(500);    // LineTo 500, 500
    std::string all = placeable + file.data() + body.data();
    Bytes end;
    end.u32(3).u16(0);
    return all + end.data();
}

}  // namespace pictavo::hostile
