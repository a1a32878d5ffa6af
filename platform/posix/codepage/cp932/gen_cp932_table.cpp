// Writes the table from UTF-16 code units to code page 932 bytes that the shell-link
// writer uses for the ANSI copy of a target path. Built and run at build time, so the
// product carries the table and needs no converter modules at run time.
//
// Only round-trip pairs are kept: a character is in the table when the C library's
// CP932 converter encodes it and decodes the bytes back to the same character. One-way
// "best fit" mappings (U+00A5 to 0x5C, a backslash; U+301C to 0x8160, which reads back
// as U+FF5E) would make the ANSI path name a different file than the link's target.
#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct Entry {
    unsigned unit;
    unsigned bytes;  // one byte (0x00XX) or lead << 8 | trail
};

class Converter {
public:
    Converter(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(m_handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    // Converts one whole input; false when any of it cannot be converted.
    bool Convert(const unsigned char* in, std::size_t inSize, std::vector<unsigned char>* out) {
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
        unsigned char buffer[16];
        char* inPtr = reinterpret_cast<char*>(const_cast<unsigned char*>(in));
        char* outPtr = reinterpret_cast<char*>(buffer);
        std::size_t inLeft = inSize;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(m_handle, &inPtr, &inLeft, &outPtr, &outLeft);
        if (result != 0 || inLeft != 0) return false;  // also rejects "lossy" conversions
        out->assign(buffer, buffer + (sizeof buffer - outLeft));
        return true;
    }

private:
    iconv_t m_handle;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    Converter encode("CP932", "UTF-16LE");
    Converter decode("UTF-16LE", "CP932");
    if (!encode.ok() || !decode.ok()) {
        std::fprintf(stderr, "gen_cp932_table: the C library has no CP932 converter\n");
        return 1;
    }

    std::vector<Entry> entries;
    for (unsigned unit = 0x80; unit <= 0xFFFF; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF) continue;
        const unsigned char utf16[2] = {static_cast<unsigned char>(unit & 0xFF),
                                        static_cast<unsigned char>(unit >> 8)};
        std::vector<unsigned char> bytes;
        if (!encode.Convert(utf16, 2, &bytes) || bytes.empty() || bytes.size() > 2) continue;
        if (bytes.size() == 1 && bytes[0] < 0x80) continue;  // never a non-ASCII character as ASCII
        std::vector<unsigned char> back;
        if (!decode.Convert(bytes.data(), bytes.size(), &back)) continue;
        if (back.size() != 2 || back[0] != utf16[0] || back[1] != utf16[1]) continue;
        const unsigned packed = bytes.size() == 1 ? bytes[0] : (unsigned{bytes[0]} << 8 | bytes[1]);
        entries.push_back({unit, packed});
    }

    // JIS X 0208 alone has almost 7,000 characters; far fewer means a broken converter.
    if (entries.size() < 7000) {
        std::fprintf(stderr, "gen_cp932_table: only %zu characters converted\n", entries.size());
        return 1;
    }

    std::FILE* file = std::fopen(argv[1], "w");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(file,
                 "// Generated at build time by gen_cp932_table from the C library's CP932\n"
                 "// converter; round-trip characters only. Do not edit.\n"
                 "#include \"platform/posix/codepage/cp932_table.h\"\n\n"
                 "namespace posixplat {\n\n"
                 "const Cp932Entry kCp932Table[] = {\n");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::fprintf(file, "{0x%04X,0x%04X},%s", entries[i].unit, entries[i].bytes, (i % 6 == 5) ? "\n" : "");
    }
    std::fprintf(file, "\n};\n\nconst std::size_t kCp932TableSize = %zu;\n\n}  // namespace posixplat\n",
                 entries.size());
    const bool written = std::ferror(file) == 0;
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "gen_cp932_table: cannot write %s\n", argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
