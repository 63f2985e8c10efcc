#include "report/opencv_files.h"

#include <cstdio>
#include <cstring>

#define VORLIX_OPENCV_DIR "Lensora_Brenhold\\build\\x86\\vc10\\bin\\"

const char* const kOpenCvFiles[kOpenCvFileCount + 1] = {
    VORLIX_OPENCV_DIR "opencv_calib3d248.dll",     VORLIX_OPENCV_DIR "opencv_calib3d248d.dll",
    VORLIX_OPENCV_DIR "opencv_contrib248.dll",     VORLIX_OPENCV_DIR "opencv_contrib248d.dll",
    VORLIX_OPENCV_DIR "opencv_core248.dll",        VORLIX_OPENCV_DIR "opencv_core248d.dll",
    VORLIX_OPENCV_DIR "opencv_createsamples.exe",  VORLIX_OPENCV_DIR "opencv_features2d248.dll",
    VORLIX_OPENCV_DIR "opencv_features2d248d.dll", VORLIX_OPENCV_DIR "opencv_ffmpeg248.dll",
    VORLIX_OPENCV_DIR "opencv_flann248.dll",       VORLIX_OPENCV_DIR "opencv_flann248d.dll",
    VORLIX_OPENCV_DIR "opencv_gpu248.dll",         VORLIX_OPENCV_DIR "opencv_gpu248d.dll",
    VORLIX_OPENCV_DIR "opencv_haartraining.exe",   VORLIX_OPENCV_DIR "opencv_highgui248.dll",
    VORLIX_OPENCV_DIR "opencv_highgui248d.dll",    VORLIX_OPENCV_DIR "opencv_imgproc248.dll",
    VORLIX_OPENCV_DIR "opencv_imgproc248d.dll",    VORLIX_OPENCV_DIR "opencv_legacy248.dll",
    VORLIX_OPENCV_DIR "opencv_legacy248d.dll",     VORLIX_OPENCV_DIR "opencv_ml248.dll",
    VORLIX_OPENCV_DIR "opencv_ml248d.dll",         VORLIX_OPENCV_DIR "opencv_nonfree248.dll",
    VORLIX_OPENCV_DIR "opencv_nonfree248d.dll",    VORLIX_OPENCV_DIR "opencv_objdetect248.dll",
    VORLIX_OPENCV_DIR "opencv_objdetect248d.dll",  VORLIX_OPENCV_DIR "opencv_ocl248.dll",
    VORLIX_OPENCV_DIR "opencv_ocl248d.dll",        VORLIX_OPENCV_DIR "opencv_performance.exe",
    VORLIX_OPENCV_DIR "opencv_photo248.dll",       VORLIX_OPENCV_DIR "opencv_photo248d.dll",
    VORLIX_OPENCV_DIR "opencv_stitching248.dll",   VORLIX_OPENCV_DIR "opencv_stitching248d.dll",
    VORLIX_OPENCV_DIR "opencv_superres248.dll",    VORLIX_OPENCV_DIR "opencv_superres248d.dll",
    VORLIX_OPENCV_DIR "opencv_traincascade.exe",   VORLIX_OPENCV_DIR "opencv_video248.dll",
    VORLIX_OPENCV_DIR "opencv_video248d.dll",      VORLIX_OPENCV_DIR "opencv_videostab248.dll",
    VORLIX_OPENCV_DIR "opencv_videostab248d.dll",  nullptr,
};

#undef VORLIX_OPENCV_DIR

const char kPluginDllPath[] = "C:\\Mach3\\Plugins\\lensora.dll";

bool JoinProgramFilesPath(const char* folder, const char* entry, char* out, std::size_t outSize) {
    if (out == nullptr || outSize == 0) {
        return false;
    }
    out[0] = '\0';
    if (folder == nullptr || entry == nullptr) {
        return false;
    }
    const std::size_t needed = std::strlen(folder) + 1 + std::strlen(entry);
    if (needed >= outSize) {
        return false;
    }
    std::snprintf(out, outSize, "%s\\%s", folder, entry);
    return true;
}

std::string ProgramFilesPathText(const char* folder, const char* entry) {
    std::string path = folder != nullptr ? folder : "";
    path += '\\';
    path += entry != nullptr ? entry : "";
    return path;
}
