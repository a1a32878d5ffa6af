// The letter a disc gets in a prefix, as Wine's mount manager gives it, over real
// dosdevices folders, and the letters and folders of the disc images of a run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/posix/wine/wine_disc_images.h"
#include "platform/posix/wine/wine_disc_letters.h"
#include "tests/support/fixtures/host_files.h"

namespace {

struct Entry {
    const char* name;    // in dosdevices/
    const char* target;  // the link's text; "@image" and "@other" stand for the two image files
};

struct LetterCase {
    const char* what;
    std::vector<Entry> entries;
    char expected;
};

class DiscLetters : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/mirel-disc-letters.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = pattern;
        ASSERT_TRUE(testsupport::WriteHostFile(m_folder + "/disc.iso", "image"));
        ASSERT_TRUE(testsupport::WriteHostFile(m_folder + "/other.iso", "other"));
        ASSERT_TRUE(testsupport::WriteHostFile(m_folder + "/dosdevices/.keep", ""));
    }
    void TearDown() override { testsupport::RemoveHostTree(m_folder); }

    std::string Image() const { return m_folder + "/disc.iso"; }

    void Make(const std::vector<Entry>& entries) {
        for (const Entry& entry : entries) {
            std::string target = entry.target;
            if (target == "@image") target = Image();
            if (target == "@other") target = m_folder + "/other.iso";
            ASSERT_EQ(::symlink(target.c_str(), (Devices() + "/" + entry.name).c_str()), 0) << entry.name;
        }
    }
    std::string Devices() const { return m_folder + "/dosdevices"; }

    std::string m_folder;
};

TEST_F(DiscLetters, ChoosesAsWinesMountManager) {
    const std::vector<LetterCase> cases = {
        {"a fresh prefix: the first letter from D:", {{"c:", "../drive_c"}, {"z:", "/"}}, 'd'},
        {"a taken D: is passed over", {{"c:", "../drive_c"}, {"d:", "/mnt"}, {"z:", "/"}}, 'e'},
        {"a dangling x: still takes its letter", {{"d:", "/no/such/folder"}}, 'e'},
        {"a device link alone takes its letter", {{"d::", "/dev/sr9"}}, 'e'},
        {"the letter whose x:: names the image is reused", {{"d:", "/mnt"}, {"f::", "@image"}}, 'f'},
        {"even when its x: is taken", {{"e:", "/mnt"}, {"e::", "@image"}}, 'e'},
        {"a relative x:: counts from dosdevices", {{"g::", "../disc.iso"}}, 'g'},
        {"an upper-case name is Wine's too", {{"D:", "/mnt"}, {"H::", "@image"}}, 'h'},
        {"another image's letter is not reused", {{"d::", "@other"}}, 'e'},
        {"A: and B: are never given", {{"c:", "../drive_c"}}, 'd'},
    };
    for (const LetterCase& c : cases) {
        TearDown();
        SetUp();
        Make(c.entries);
        const auto letters = posixplat::ReadDosDeviceLetters(Devices());
        EXPECT_EQ(posixplat::ChooseDiscLetter(letters, posixplat::CanonicalDevicePath(Image())), c.expected) << c.what;
    }
}

TEST_F(DiscLetters, NoLetterWhenDToZAreTaken) {
    for (char letter = 'd'; letter <= 'z'; ++letter) Make({{(std::string(1, letter) + ":").c_str(), "/"}});
    EXPECT_EQ(posixplat::ChooseDiscLetter(posixplat::ReadDosDeviceLetters(Devices()), Image()), 0);
    Make({{"q::", "@image"}});
    EXPECT_EQ(posixplat::ChooseDiscLetter(posixplat::ReadDosDeviceLetters(Devices()), Image()), 'q');
}

TEST_F(DiscLetters, ImagesOfARunKeepTheirLettersAndFolders) {
    struct ImageCase {
        const char* what;
        std::vector<Entry> entries;
        std::vector<std::string> given;  // "@image", "@other", or a name in the test folder
        std::string expected;  // "letter folder" per image ("+" when it is in the prefix already)
        std::size_t problems;
    };
    // The test folder is the prefix: its dosdevices/ is the prefix's; folders in it are
    // shown relative to it.
    const std::vector<ImageCase> cases = {
        {"a fresh letter leads to a folder of the prefix", {{"c:", "../drive_c"}}, {"@image"},
         "d mirel-setup-discs/d", 0},
        {"the letter written before is kept with its folder", {{"d:", "../mirel-setup-discs/d"}, {"d::", "@image"}},
         {"@image"}, "d mirel-setup-discs/d +", 0},
        {"a letter the player gave the mounted image keeps its mount point",
         {{"e:", "/home/me/disc"}, {"e::", "@image"}}, {"@image"}, "e /home/me/disc +", 0},
        {"a device link without its drive link is written again", {{"f::", "@image"}}, {"@image"},
         "f mirel-setup-discs/f", 0},
        {"two images get two letters", {}, {"@image", "@other"}, "d mirel-setup-discs/d,e mirel-setup-discs/e", 0},
        {"one image by two names gets one letter", {}, {"@image", "link.iso"}, "d mirel-setup-discs/d", 1},
    };
    for (const ImageCase& c : cases) {
        TearDown();
        SetUp();
        Make(c.entries);
        ASSERT_EQ(::symlink(Image().c_str(), (m_folder + "/link.iso").c_str()), 0);
        std::vector<std::string> images;
        for (const std::string& given : c.given) {
            images.push_back(given == "@image"   ? Image()
                             : given == "@other" ? m_folder + "/other.iso"
                                                 : m_folder + "/" + given);
        }
        std::vector<std::string> problems;
        std::string seen;
        for (const posixplat::WineDiscImage& disc : posixplat::ChooseImageLetters(m_folder, images, &problems)) {
            std::string folder = disc.folder;
            if (folder.rfind(m_folder + "/", 0) == 0) folder = folder.substr(m_folder.size() + 1);
            seen += std::string(seen.empty() ? "" : ",") + disc.letter + " " + folder + (disc.inPrefix ? " +" : "");
        }
        EXPECT_EQ(seen, c.expected) << c.what;
        EXPECT_EQ(problems.size(), c.problems) << c.what;
    }
}

}  // namespace
