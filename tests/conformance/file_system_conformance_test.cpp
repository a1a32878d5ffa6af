// The file-system behaviour the core relies on, the same on every build: read-only
// files, names without regard to case, enumeration, folders, status across a copy.
#include <map>
#include <vector>

#include "tests/conformance/conformance_system.h"

namespace conformance {
namespace {

class FileSystemConformance : public Conformance {
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
};

TEST_F(FileSystemConformance, ReadOnlyFileCannotBeWrittenOrDeletedUntilTheAttributeGoes) {
    const std::string file = Path("KARVEX34.DAT");
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

TEST_F(FileSystemConformance, NamesMatchWithoutRegardToCaseAndNewEntriesKeepTheNameGiven) {
    ASSERT_TRUE(fs().CreateFolder(Path("Data")));
    Write(Path("Data\\MixedCase.Dat"), "payload");

    struct Case {
        const char* path;
        bool exists;
    };
    for (const Case& c : {Case{"Data\\MixedCase.Dat", true}, Case{"DATA\\mixedcase.dat", true},
                          Case{"data\\MIXEDCASE.DAT", true}, Case{"data", true}, Case{"Data\\MixedCase.Da", false}}) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fs().Exists(Path(c.path)), c.exists);
    }
    EXPECT_EQ(Read(Path("DATA\\MIXEDCASE.DAT")), "payload");
    // Writing under another case replaces the file and keeps its first name.
    Write(Path("data\\mixedcase.dat"), "second");
    EXPECT_EQ(List(Path("Data")), (std::map<std::string, bool>{{"MixedCase.Dat", false}}));
    EXPECT_EQ(Read(Path("Data\\MixedCase.Dat")), "second");
    EXPECT_FALSE(fs().CreateFolder(Path("DATA"))) << "a second folder of the same name";
}

TEST_F(FileSystemConformance, EnumerationDeliversEveryEntryOnceWithoutDotEntries) {
    ASSERT_TRUE(fs().CreateFolder(Path("CUR")));
    ASSERT_TRUE(fs().CreateFolder(Path(".cache")));
    ASSERT_TRUE(fs().CreateFolder(Path("CUR\\SUB")));
    for (const char* name : {"CUR_00.DAT", ".keep", "README", "CUR\\inside.dat"}) Write(Path(name), name);

    // "*.*" matches names without an extension too.
    EXPECT_EQ(List(system().folder()), (std::map<std::string, bool>{
                                      {"CUR", true}, {".cache", true}, {"CUR_00.DAT", false}, {".keep", false}, {"README", false}}));
    EXPECT_EQ(List(Path("CUR")), (std::map<std::string, bool>{{"SUB", true}, {"inside.dat", false}}));
    EXPECT_TRUE(List(Path("CUR\\SUB")).empty());
    EXPECT_FALSE(fs().Enumerate(Path("Missing\\*.*"))) << "listed a folder that does not exist";
}

TEST_F(FileSystemConformance, DoubleByteNamesWhoseTrailByteIsABackslashWork) {
    const std::string hyo = system().Hyo();
    const std::string folder = Path(hyo + system().Harunea());
    ASSERT_TRUE(fs().CreateFolder(folder));
    Write(folder + "\\" + hyo + ".txt", "hyo");
    EXPECT_EQ(Read(folder + "\\" + hyo + ".txt"), "hyo");
    EXPECT_EQ(List(system().folder()), (std::map<std::string, bool>{{hyo + system().Harunea(), true}}));
    EXPECT_EQ(List(folder), (std::map<std::string, bool>{{hyo + ".txt", false}}));
    EXPECT_TRUE(fs().RemoveFile(folder + "\\" + hyo + ".txt"));
    EXPECT_TRUE(fs().RemoveFolder(folder));
}

TEST_F(FileSystemConformance, FoldersAreRemovedOnlyWhenEmptyAndCreatedOnlyBelowAnExistingParent) {
    EXPECT_FALSE(fs().CreateFolder(Path("A\\B"))) << "created a folder without its parent";
    ASSERT_TRUE(fs().CreateFolder(Path("A")));
    ASSERT_TRUE(fs().CreateFolder(Path("A\\B")));
    Write(Path("A\\B\\f.dat"), "x");
    EXPECT_FALSE(fs().RemoveFolder(Path("A\\B")));
    EXPECT_TRUE(fs().RemoveFile(Path("A\\B\\f.dat")));
    EXPECT_TRUE(fs().RemoveFolder(Path("A\\B")));
    EXPECT_FALSE(fs().Exists(Path("A\\B")));
    EXPECT_FALSE(fs().RemoveFile(Path("A\\B\\f.dat"))) << "removed a missing file";
}

TEST_F(FileSystemConformance, StatusCarriesSizeTimesAndAttributesAcrossACopy) {
    const std::string source = Path("source.dat");
    Write(source, std::string(70000, 'x'));
    plat::FileStatus status;
    ASSERT_TRUE(fs().GetStatus(source, &status));
    EXPECT_EQ(status.size, 70000);
    // Fixed stamps a few years apart, in 100 ns ticks since 1601, whole seconds. (The
    // creation time is not compared: neither Wine nor a Linux file system keeps one that
    // can be set.)
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
    const std::string copy = Path("copy.dat");
    Write(copy, "c");
    plat::FileStatus applied = fromHandle;
    applied.attributes &= ~plat::kAttrReadOnly;
    ASSERT_TRUE(fs().SetStatus(copy, applied));
    plat::FileStatus result;
    ASSERT_TRUE(fs().GetStatus(copy, &result));
    EXPECT_EQ(result.lastWriteTime, status.lastWriteTime);
    EXPECT_FALSE(result.attributes & plat::kAttrReadOnly);
    EXPECT_TRUE(fs().OpenForWrite(copy));
}

TEST_F(FileSystemConformance, OpeningForWriteTruncatesAndMissingFilesDoNotOpen) {
    const std::string file = Path("f.dat");
    Write(file, "a long first content");
    Write(file, "short");
    EXPECT_EQ(Read(file), "short");
    EXPECT_FALSE(fs().OpenForRead(Path("missing.dat")));
    EXPECT_FALSE(fs().OpenForWrite(Path("NoFolder\\f.dat")));
    EXPECT_FALSE(fs().Exists(Path("NoFolder")));
}

}  // namespace
}  // namespace conformance
