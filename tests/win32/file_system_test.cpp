// The file-system behaviour the core relies on (read-only files, names without regard
// to case, enumeration, status), checked against the system through the Win32 layer.
#include <algorithm>
#include <map>
#include <vector>

#include "tests/win32/win32_test_support.h"

namespace {

using win32test::TempFolder;

// Wine keeps files on a host file system whose creation time cannot be set.
bool RunningUnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

class FileSystemSemantics : public win32test::Win32PlatformTest {
protected:
    void Write(const std::string& path, const std::string& contents) {
        auto file = fs().OpenForWrite(path);
        ASSERT_TRUE(file) << path;
        ASSERT_TRUE(file->Write(contents.data(), contents.size())) << path;
    }
    std::string Read(const std::string& path) {
        auto file = fs().OpenForRead(path);
        if (!file) return "<cannot open>";
        std::string contents(4096, '\0');
        std::size_t got = 0;
        if (!file->Read(contents.data(), contents.size(), &got)) return "<read error>";
        contents.resize(got);
        return contents;
    }
    // name -> is folder, in the order delivered; a repeated name fails the test.
    std::map<std::string, bool> List(const std::string& folder, std::vector<std::string>* order = nullptr) {
        std::map<std::string, bool> entries;
        auto enumeration = fs().Enumerate(folder + "\\*.*");
        EXPECT_TRUE(enumeration) << folder;
        if (!enumeration) return entries;
        plat::FolderEntry entry;
        while (enumeration->Next(&entry)) {
            EXPECT_TRUE(entries.emplace(entry.name, entry.isFolder).second) << "delivered twice: " << entry.name;
            if (order) order->push_back(entry.name);
        }
        return entries;
    }
    void MakeReadOnly(const std::string& path) {
        plat::FileStatus status;
        ASSERT_TRUE(fs().GetStatus(path, &status));
        status.attributes |= plat::kAttrReadOnly;
        ASSERT_TRUE(fs().SetStatus(path, status));
    }

    TempFolder m_dir;
};

TEST_F(FileSystemSemantics, ReadOnlyFileCannotBeWrittenOrDeletedUntilTheAttributeGoes) {
    const std::string file = m_dir / "KARVEX34.DAT";
    Write(file, "original");
    MakeReadOnly(file);

    plat::FileStatus status;
    ASSERT_TRUE(fs().GetStatus(file, &status));
    EXPECT_TRUE(status.attributes & plat::kAttrReadOnly);
    EXPECT_FALSE(fs().OpenForWrite(file)) << "opened a read-only file for writing";
    EXPECT_FALSE(fs().RemoveFile(file)) << "removed a read-only file";
    EXPECT_EQ(Read(file), "original");

    status.attributes &= ~plat::kAttrReadOnly;
    ASSERT_TRUE(fs().SetStatus(file, status));
    Write(file, "replaced");
    EXPECT_EQ(Read(file), "replaced");
    EXPECT_TRUE(fs().RemoveFile(file));
    EXPECT_FALSE(fs().Exists(file));
}

TEST_F(FileSystemSemantics, NamesMatchWithoutRegardToCaseAndNewEntriesKeepTheNameGiven) {
    ASSERT_TRUE(fs().CreateFolder(m_dir / "Data"));
    Write(m_dir / "Data\\MixedCase.Dat", "payload");

    struct Case {
        const char* path;
        bool exists;
    };
    for (const Case& c : {Case{"Data\\MixedCase.Dat", true}, Case{"DATA\\mixedcase.dat", true},
                          Case{"data\\MIXEDCASE.DAT", true}, Case{"data", true}, Case{"Data\\MixedCase.Da", false}}) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fs().Exists(m_dir / c.path), c.exists);
    }
    EXPECT_EQ(Read(m_dir / "DATA\\MIXEDCASE.DAT"), "payload");
    // Writing under another case replaces the file and keeps its first name.
    Write(m_dir / "data\\mixedcase.dat", "second");
    EXPECT_EQ(List(m_dir / "Data"), (std::map<std::string, bool>{{"MixedCase.Dat", false}}));
    EXPECT_EQ(Read(m_dir / "Data\\MixedCase.Dat"), "second");
    EXPECT_FALSE(fs().CreateFolder(m_dir / "DATA")) << "a second folder of the same name";
}

TEST_F(FileSystemSemantics, EnumerationDeliversEveryEntryOnceWithoutDotEntries) {
    ASSERT_TRUE(fs().CreateFolder(m_dir / "CUR"));
    ASSERT_TRUE(fs().CreateFolder(m_dir / ".cache"));
    ASSERT_TRUE(fs().CreateFolder(m_dir / "CUR\\SUB"));
    for (const char* name : {"CUR_00.DAT", ".keep", "README", "CUR\\inside.dat"}) Write(m_dir / name, name);

    // "*.*" matches names without an extension too.
    EXPECT_EQ(List(m_dir.path()), (std::map<std::string, bool>{
                                      {"CUR", true}, {".cache", true}, {"CUR_00.DAT", false}, {".keep", false}, {"README", false}}));
    EXPECT_EQ(List(m_dir / "CUR"), (std::map<std::string, bool>{{"SUB", true}, {"inside.dat", false}}));
    EXPECT_TRUE(List(m_dir / "CUR\\SUB").empty());
    EXPECT_FALSE(fs().Enumerate(m_dir / "Missing\\*.*")) << "listed a folder that does not exist";
}

TEST_F(FileSystemSemantics, DoubleByteNamesWhoseTrailByteIsABackslashWork) {
    const std::string folder = m_dir / (win32test::kHyo932 + win32test::kHarunea932);
    ASSERT_TRUE(fs().CreateFolder(folder));
    Write(folder + "\\" + win32test::kHyo932 + ".txt", "hyo");
    EXPECT_EQ(Read(folder + "\\" + win32test::kHyo932 + ".txt"), "hyo");
    EXPECT_EQ(List(m_dir.path()), (std::map<std::string, bool>{{win32test::kHyo932 + win32test::kHarunea932, true}}));
    EXPECT_EQ(List(folder), (std::map<std::string, bool>{{win32test::kHyo932 + ".txt", false}}));
    EXPECT_TRUE(fs().RemoveFile(folder + "\\" + win32test::kHyo932 + ".txt"));
    EXPECT_TRUE(fs().RemoveFolder(folder));
}

TEST_F(FileSystemSemantics, FoldersAreRemovedOnlyWhenEmptyAndCreatedOnlyBelowAnExistingParent) {
    EXPECT_FALSE(fs().CreateFolder(m_dir / "A\\B")) << "created a folder without its parent";
    ASSERT_TRUE(fs().CreateFolder(m_dir / "A"));
    ASSERT_TRUE(fs().CreateFolder(m_dir / "A\\B"));
    Write(m_dir / "A\\B\\f.dat", "x");
    EXPECT_FALSE(fs().RemoveFolder(m_dir / "A\\B"));
    EXPECT_TRUE(fs().RemoveFile(m_dir / "A\\B\\f.dat"));
    EXPECT_TRUE(fs().RemoveFolder(m_dir / "A\\B"));
    EXPECT_FALSE(fs().Exists(m_dir / "A\\B"));
    EXPECT_FALSE(fs().RemoveFile(m_dir / "A\\B\\f.dat")) << "removed a missing file";
}

TEST_F(FileSystemSemantics, StatusCarriesSizeTimesAndAttributesAcrossACopy) {
    const std::string source = m_dir / "source.dat";
    Write(source, std::string(70000, 'x'));
    plat::FileStatus status;
    ASSERT_TRUE(fs().GetStatus(source, &status));
    EXPECT_EQ(status.size, 70000);
    // Fixed stamps a few years apart, in 100 ns ticks since 1601, whole seconds.
    status.creationTime = 131000000000000000ull;
    status.lastWriteTime = 132000000000000000ull;
    status.lastAccessTime = 133000000000000000ull;
    status.attributes = plat::kAttrReadOnly | plat::kAttrArchive;
    ASSERT_TRUE(fs().SetStatus(source, status));

    auto open = fs().OpenForRead(source);
    ASSERT_TRUE(open);
    plat::FileStatus fromHandle;
    ASSERT_TRUE(open->GetStatus(&fromHandle));
    EXPECT_EQ(fromHandle.size, 70000);
    if (!RunningUnderWine()) {
        EXPECT_EQ(fromHandle.creationTime, status.creationTime);
    }
    EXPECT_EQ(fromHandle.lastWriteTime, status.lastWriteTime);
    EXPECT_TRUE(fromHandle.attributes & plat::kAttrReadOnly);
    std::string block(65536, '\0');
    std::size_t got = 0;
    ASSERT_TRUE(open->Read(block.data(), block.size(), &got));
    EXPECT_EQ(got, 65536u);
    ASSERT_TRUE(open->Read(block.data(), block.size(), &got));
    EXPECT_EQ(got, 70000u - 65536u);
    ASSERT_TRUE(open->Read(block.data(), block.size(), &got));
    EXPECT_EQ(got, 0u);

    // A copy gets the stamps with read-only cleared and stays writable.
    const std::string copy = m_dir / "copy.dat";
    Write(copy, "c");
    plat::FileStatus applied = fromHandle;
    applied.attributes &= ~plat::kAttrReadOnly;
    ASSERT_TRUE(fs().SetStatus(copy, applied));
    plat::FileStatus result;
    ASSERT_TRUE(fs().GetStatus(copy, &result));
    EXPECT_EQ(result.lastWriteTime, status.lastWriteTime);
    if (!RunningUnderWine()) {
        EXPECT_EQ(result.creationTime, status.creationTime);
    }
    EXPECT_FALSE(result.attributes & plat::kAttrReadOnly);
    EXPECT_TRUE(fs().OpenForWrite(copy));
}

TEST_F(FileSystemSemantics, OpeningForWriteTruncatesAndMissingFilesDoNotOpen) {
    const std::string file = m_dir / "f.dat";
    Write(file, "a long first content");
    Write(file, "short");
    EXPECT_EQ(Read(file), "short");
    EXPECT_FALSE(fs().OpenForRead(m_dir / "missing.dat"));
    EXPECT_FALSE(fs().OpenForWrite(m_dir / "NoFolder\\f.dat"));
    EXPECT_FALSE(fs().Exists(m_dir / "NoFolder"));
}

}  // namespace
