#include "platform/posix/wine/hive/wine_format.h"

#include "platform/posix/wine/hive/wine_hive_format.h"

namespace posixplat::reg {
namespace {

// Keeps the layout of the file as last read or written, so that a write changes only
// the sections of the keys that changed.
class WineFormat : public HiveFormat {
public:
    explicit WineFormat(std::string header) : m_newFileHeader(std::move(header)) { Absent(); }

    bool Parse(std::string_view text, HiveKey* root, std::string* error) override {
        WineHiveLayout layout;
        if (!ParseWineHive(text, root, &layout, error)) return false;
        m_layout = std::move(layout);
        return true;
    }
    bool Serialise(const HiveKey& root, std::size_t, std::string* text, std::string* error) override {
        return SerialiseWineHive(root, m_layout, WineFileTimeNow(), text, &m_pending, error);
    }
    void Written() override { m_layout = std::move(m_pending); }
    void Absent() override { m_layout = WineHiveLayout{m_newFileHeader, {}}; }
    bool WideStrings() const override { return true; }

private:
    std::string m_newFileHeader;
    WineHiveLayout m_layout;
    WineHiveLayout m_pending;
};

}  // namespace

std::unique_ptr<HiveFormat> MakeWineFormat(std::string header) { return std::make_unique<WineFormat>(std::move(header)); }

}  // namespace posixplat::reg
