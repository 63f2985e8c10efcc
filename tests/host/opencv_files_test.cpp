#include "report/opencv_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char kBinFolder[] = "Lensora_Brenhold\\build\\x86\\vc10\\bin\\";

const char* const kExpectedNames[] = {
    "opencv_calib3d248.dll",    "opencv_calib3d248d.dll",   "opencv_contrib248.dll",
    "opencv_contrib248d.dll",   "opencv_core248.dll",       "opencv_core248d.dll",
    "opencv_createsamples.exe", "opencv_features2d248.dll", "opencv_features2d248d.dll",
    "opencv_ffmpeg248.dll",     "opencv_flann248.dll",      "opencv_flann248d.dll",
    "opencv_gpu248.dll",        "opencv_gpu248d.dll",       "opencv_haartraining.exe",
    "opencv_highgui248.dll",    "opencv_highgui248d.dll",   "opencv_imgproc248.dll",
    "opencv_imgproc248d.dll",   "opencv_legacy248.dll",     "opencv_legacy248d.dll",
    "opencv_ml248.dll",         "opencv_ml248d.dll",        "opencv_nonfree248.dll",
    "opencv_nonfree248d.dll",   "opencv_objdetect248.dll",  "opencv_objdetect248d.dll",
    "opencv_ocl248.dll",        "opencv_ocl248d.dll",       "opencv_performance.exe",
    "opencv_photo248.dll",      "opencv_photo248d.dll",     "opencv_stitching248.dll",
    "opencv_stitching248d.dll", "opencv_superres248.dll",   "opencv_superres248d.dll",
    "opencv_traincascade.exe",  "opencv_video248.dll",      "opencv_video248d.dll",
    "opencv_videostab248.dll",  "opencv_videostab248d.dll",
};

TEST(OpenCvFiles, FortyOneEntriesInCheckOrderBelowTheBinFolder) {
    static_assert(sizeof kExpectedNames / sizeof kExpectedNames[0] == 41, "41 files");
    for (std::size_t i = 0; i < 41; ++i) {
        ASSERT_NE(kOpenCvFiles[i], nullptr) << "entry " << i;
        EXPECT_EQ(std::string(kOpenCvFiles[i]), std::string(kBinFolder) + kExpectedNames[i])
            << "entry " << i;
    }
    EXPECT_EQ(kOpenCvFiles[41], nullptr);
}

TEST(JoinProgramFilesPath, JoinsWithOneBackslash) {
    char out[kJoinedPathSize];
    ASSERT_TRUE(JoinProgramFilesPath("C:\\Program Files", kOpenCvFiles[4], out, sizeof out));
    EXPECT_STREQ(out,
                 "C:\\Program Files\\Lensora_Brenhold\\build\\x86\\vc10\\bin\\opencv_core248.dll");
}

TEST(JoinProgramFilesPath, EmptyFolderGivesARootPath) {
    char out[kJoinedPathSize];
    ASSERT_TRUE(JoinProgramFilesPath("", "a.dll", out, sizeof out));
    EXPECT_STREQ(out, "\\a.dll");
}

TEST(JoinProgramFilesPath, LongestPathThatFitsAndOneMore) {
    ASSERT_EQ(kJoinedPathSize, 260u);
    const std::string entry = "x.dll";
    // 253 + 1 + 5 = 259 characters: fits with its zero.
    const std::string folder(253, 'f');
    char out[kJoinedPathSize];
    ASSERT_TRUE(JoinProgramFilesPath(folder.c_str(), entry.c_str(), out, sizeof out));
    EXPECT_EQ(std::strlen(out), 259u);
    EXPECT_EQ(std::string(out), folder + "\\" + entry);

    const std::string longer(254, 'f');
    std::memset(out, 'q', sizeof out);
    EXPECT_FALSE(JoinProgramFilesPath(longer.c_str(), entry.c_str(), out, sizeof out));
    EXPECT_STREQ(out, "");
    EXPECT_EQ(ProgramFilesPathText(longer.c_str(), entry.c_str()), longer + "\\" + entry);
}

TEST(JoinProgramFilesPath, RejectsMissingArguments) {
    char out[8] = "keep";
    EXPECT_FALSE(JoinProgramFilesPath(nullptr, "a", out, sizeof out));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(JoinProgramFilesPath("a", nullptr, out, sizeof out));
    char untouched[2] = {'u', 'v'};
    EXPECT_FALSE(JoinProgramFilesPath("a", "b", untouched, 0));
    EXPECT_EQ(untouched[0], 'u');
}

}  // namespace
