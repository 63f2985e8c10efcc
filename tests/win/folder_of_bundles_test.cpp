// Which folder opens the matrix when dropped or chosen first: one that holds bundles as its
// folders and is itself no bundle. Only one level down counts.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/many_bundles_win.h"
#include "tests/win/file_support.h"

namespace {

const std::string kRoot = "C:\\vorlix_folder_of_bundles";

// Files to write under kRoot (folders made on the way), and the answer for kRoot.
struct FolderCase {
    const char* what;
    std::vector<std::string> files;
    bool folderOfBundles;
};

void WriteUnderRoot(const std::string& relative) {
    for (std::size_t at = relative.find('\\'); at != std::string::npos;
         at = relative.find('\\', at + 1)) {
        CreateDirectoryA((kRoot + "\\" + relative.substr(0, at)).c_str(), nullptr);
    }
    WriteFileBytes(kRoot + "\\" + relative, "09.12.2026 10:00 00\r\n");
}

TEST(FolderOfBundles, IsOneThatHoldsBundlesAsItsFoldersAndIsNoBundleItself) {
    const FolderCase cases[] = {
        {"two bundles as folders",
         {"pc1\\Lensora_Brenhold.logServices", "pc2\\Lensora_Brenhold.logDlls"},
         true},
        {"a bundle that also has bundles as folders",
         {"Lensora_Brenhold.logServices", "pc1\\Lensora_Brenhold.logServices",
          "pc2\\Lensora_Brenhold.logServices"},
         false},
        {"a bundle's manifest alone makes the folder a bundle",
         {"manifest.txt", "pc1\\Lensora_Brenhold.logServices"},
         false},
        {"folders without logs", {"pc1\\notes.txt", "pc2\\Lensora_Brenhold.log"}, false},
        {"bundles two levels down", {"2026\\pc1\\Lensora_Brenhold.logServices"}, false},
        {"one bundle among other folders",
         {"pc1\\notes.txt", "pc2\\Lensora_Brenhold.logAnalyzePATH"},
         true},
        {"nothing at all", {}, false},
    };
    for (const FolderCase& c : cases) {
        RemoveTree(kRoot);
        ASSERT_TRUE(CreateDirectoryA(kRoot.c_str(), nullptr)) << kRoot << ": " << GetLastError();
        for (const std::string& file : c.files) {
            WriteUnderRoot(file);
        }
        EXPECT_EQ(IsFolderOfBundles(kRoot), c.folderOfBundles) << c.what;
    }
    RemoveTree(kRoot);
    EXPECT_FALSE(IsFolderOfBundles(kRoot)) << "a folder that is not there";
}

}  // namespace
