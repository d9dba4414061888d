#include "png.h"

#include <windows.h>

#include <array>
#include <string_view>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t crc32(const std::uint8_t* data, size_t size)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(const Bytes& data)
{
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void put_big_endian(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void put_chunk(Bytes& out, std::string_view type, const Bytes& data)
{
    put_big_endian(out, static_cast<std::uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    put_big_endian(out, crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored blocks, each at most 65535 bytes.
Bytes zlib_stored(const Bytes& raw)
{
    Bytes out{0x78, 0x01};
    size_t offset = 0;
    do {
        const size_t length = std::min<size_t>(raw.size() - offset, 65535);
        const bool last = offset + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(length));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(~length));
        out.push_back(static_cast<std::uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                   raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < raw.size());
    put_big_endian(out, adler32(raw));
    return out;
}

} // namespace

std::vector<std::uint8_t> png_bytes(const Picture& picture)
{
    Bytes raw;
    raw.reserve(static_cast<size_t>(picture.height) * (1 + 3 * static_cast<size_t>(picture.width)));
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0); // filter type None
        for (int x = 0; x < picture.width; ++x) {
            const Rgb pixel = picture.at(x, y);
            raw.insert(raw.end(), {pixel.red, pixel.green, pixel.blue});
        }
    }
    Bytes header;
    put_big_endian(header, static_cast<std::uint32_t>(picture.width));
    put_big_endian(header, static_cast<std::uint32_t>(picture.height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, deflate, no filter, no interlace
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    put_chunk(out, "IHDR", header);
    put_chunk(out, "IDAT", zlib_stored(raw));
    put_chunk(out, "IEND", {});
    return out;
}

bool save_png(const Picture& picture, const std::wstring& path)
{
    const Bytes bytes = png_bytes(picture);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}
