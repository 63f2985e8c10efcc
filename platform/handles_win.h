// Owning wrappers for every kind of Win32 handle the program opens.
// Non-copyable, movable; each knows its own invalid value and how to close it.
// (The plug-in DLL has none: the export check loads it and never frees it.)
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <io.h>

#include <cstddef>
#include <cstdint>
#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() : value_(Traits::Invalid()) {}
    explicit UniqueHandle(Type value) : value_(value) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Type Get() const { return value_; }
    bool Valid() const { return value_ != Traits::Invalid(); }
    explicit operator bool() const { return Valid(); }

    Type Release() {
        Type value = value_;
        value_ = Traits::Invalid();
        return value;
    }
    void Reset(Type value = Traits::Invalid()) {
        if (Valid()) {
            Traits::Close(value_);
        }
        value_ = value;
    }
    // For out-parameters of API calls: closes the current value first.
    Type* Put() {
        Reset();
        return &value_;
    }

private:
    Type value_;
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type value) { CloseHandle(value); }
};

// A directory search of FindFirstFile: INVALID_HANDLE_VALUE when it fails, closed by
// FindClose, never by CloseHandle.
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type value) { FindClose(value); }
};

// The C runtime's search of _findfirst, which the plug-in folder section keeps: -1 when
// it fails, closed by _findclose.
struct CrtFindTraits {
    using Type = std::intptr_t;
    static Type Invalid() { return -1; }
    static void Close(Type value) { _findclose(value); }
};

struct RegistryKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type value) { RegCloseKey(value); }
};

struct ServiceHandleTraits {
    using Type = SC_HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type value) { CloseServiceHandle(value); }
};

struct LocalMemoryTraits {
    using Type = HLOCAL;
    static Type Invalid() { return nullptr; }
    static void Close(Type value) { LocalFree(value); }
};

struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() { return nullptr; }
    static void Close(Type value) { DeleteObject(value); }
};

struct MemoryDcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type value) { DeleteDC(value); }
};

struct ImageListTraits {
    using Type = HIMAGELIST;
    static Type Invalid() { return nullptr; }
    static void Close(Type value) { ImageList_Destroy(value); }
};

struct MappedViewTraits {
    using Type = const void*;
    static Type Invalid() { return nullptr; }
    static void Close(Type value) { UnmapViewOfFile(value); }
};

// A thread, a semaphore, an event or a file mapping: nullptr when its creation fails (a
// mapping too, unlike a file: not INVALID_HANDLE_VALUE).
struct KernelObjectTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type value) { CloseHandle(value); }
};

// A heap of HeapCreate's own, destroyed with every block still in it.
struct HeapTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type value) { HeapDestroy(value); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueCrtFind = UniqueHandle<CrtFindTraits>;
using UniqueFileMapping = UniqueHandle<KernelObjectTraits>;
using UniqueMappedView = UniqueHandle<MappedViewTraits>;
using UniqueKernelObject = UniqueHandle<KernelObjectTraits>;
using UniqueHeap = UniqueHandle<HeapTraits>;

// Bytes in a block of a given heap, freed there; `size` may be less than the block.
class HeapBlock {
public:
    HeapBlock() = default;
    HeapBlock(HANDLE heap, char* data) : heap_(heap), data_(data) {}
    HeapBlock(const HeapBlock&) = delete;
    HeapBlock& operator=(const HeapBlock&) = delete;
    HeapBlock(HeapBlock&& other) noexcept { *this = std::move(other); }
    HeapBlock& operator=(HeapBlock&& other) noexcept {
        if (this != &other) {
            Reset();
            heap_ = other.heap_;
            data_ = other.data_;
            size = other.size;
            other.data_ = nullptr;
            other.size = 0;
        }
        return *this;
    }
    ~HeapBlock() { Reset(); }

    char* Data() const { return data_; }
    void Reset() {
        if (data_ != nullptr) {
            HeapFree(heap_, 0, data_);
        }
        data_ = nullptr;
        size = 0;
    }

    std::size_t size = 0;

private:
    HANDLE heap_ = nullptr;
    char* data_ = nullptr;
};
using UniqueKey = UniqueHandle<RegistryKeyTraits>;
using UniqueService = UniqueHandle<ServiceHandleTraits>;
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueImageList = UniqueHandle<ImageListTraits>;
