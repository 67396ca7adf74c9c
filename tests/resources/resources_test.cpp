// Checks the resources linked into the exe: version information, the program
// icon, the hand cursor and the manifest. The exe is opened as a data file, so
// nothing of it runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "resource_ids.h"

namespace {

std::wstring exePath;

std::wstring widen(const char* text)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(n > 0 ? static_cast<size_t>(n) : 0, L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), n);
    if (!out.empty()) out.pop_back();
    return out;
}

// "1.00.0003": major, minor in two digits, patch in four.
std::wstring versionText()
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%u.%02u.%04u", KESTREVANE_VERSION_MAJOR, KESTREVANE_VERSION_MINOR,
                  KESTREVANE_VERSION_PATCH);
    return text;
}

uint16_t word(const std::vector<unsigned char>& data, size_t at)
{
    return static_cast<uint16_t>(data.at(at) | (data.at(at + 1) << 8));
}

uint32_t dword(const std::vector<unsigned char>& data, size_t at)
{
    return static_cast<uint32_t>(word(data, at)) | (static_cast<uint32_t>(word(data, at + 2)) << 16);
}

// The exe's module as a data file, shared by all tests.
class Exe : public testing::Test {
protected:
    static void SetUpTestSuite() { module_ = LoadLibraryExW(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE); }
    static void TearDownTestSuite()
    {
        if (module_) FreeLibrary(module_);
        module_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(module_, nullptr) << "cannot open the exe, error " << GetLastError(); }

    // The bytes of one resource; empty when there is none.
    static std::vector<unsigned char> resource(LPCWSTR type, int id)
    {
        HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(module_, found);
        const auto* bytes = static_cast<const unsigned char*>(LockResource(loaded));
        if (!bytes) return {};
        return {bytes, bytes + SizeofResource(module_, found)};
    }

    static HMODULE module_;
};

HMODULE Exe::module_ = nullptr;

// Width and height of a loaded icon or cursor, from its bitmaps.
SIZE imageSize(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {0, 0};
    BITMAP bm{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    SIZE size{bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return size;
}

// ---------------------------------------------------------------------------
// Version information

class VersionInfo : public testing::Test {
protected:
    void SetUp() override
    {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(exePath.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version information, error " << GetLastError();
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(exePath.c_str(), 0, size, block_.data()));
    }

    // A value of the block, or nullptr with its length 0 when it is missing.
    const void* query(const std::wstring& path, UINT& length)
    {
        void* value = nullptr;
        length = 0;
        if (!VerQueryValueW(block_.data(), path.c_str(), &value, &length)) return nullptr;
        return value;
    }

    std::vector<unsigned char> block_;
};

TEST_F(VersionInfo, StringValuesOfTheUsEnglishUnicodeBlock)
{
    const std::pair<const wchar_t*, std::wstring> expected[] = {
        {L"FileDescription", L"Boot counter"},
        {L"ProductName", L"Kestrevane"},
        {L"InternalName", L"Kestrevane"},
        {L"OriginalFilename", L"Kestrevane.exe"},
        {L"FileVersion", versionText()},
        {L"ProductVersion", versionText()},
        {L"CompanyName", L"The Kestrevane developers"},
        {L"LegalCopyright", L"Copyright (C) 2026 The Kestrevane developers"},
    };
    for (const auto& [name, value] : expected) {
        SCOPED_TRACE(testing::Message() << "value " << testing::PrintToString(std::wstring(name)));
        UINT length = 0;
        const auto* text = static_cast<const wchar_t*>(query(std::wstring(L"\\StringFileInfo\\040904B0\\") + name, length));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::wstring(text), value);
    }
}

TEST_F(VersionInfo, TranslationIsUsEnglishInUnicode)
{
    UINT length = 0;
    const auto* pairs = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation", length));
    ASSERT_NE(pairs, nullptr);
    ASSERT_EQ(length, 2 * sizeof(WORD));
    EXPECT_EQ(pairs[0], 0x0409);
    EXPECT_EQ(pairs[1], 1200);
}

TEST_F(VersionInfo, FixedVersionIsMajorMinorZeroPatch)
{
    UINT length = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\", length));
    ASSERT_NE(fixed, nullptr);
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD ms = MAKELONG(KESTREVANE_VERSION_MINOR, KESTREVANE_VERSION_MAJOR);
    const DWORD ls = MAKELONG(KESTREVANE_VERSION_PATCH, 0);
    EXPECT_EQ(fixed->dwFileVersionMS, ms);
    EXPECT_EQ(fixed->dwFileVersionLS, ls);
    EXPECT_EQ(fixed->dwProductVersionMS, ms);
    EXPECT_EQ(fixed->dwProductVersionLS, ls);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

// ---------------------------------------------------------------------------
// Program icon

struct IconEntry {
    int size;
    int bits;
    bool png;
};

const IconEntry iconEntries[] = {
    {16, 32, false}, {32, 32, false}, {32, 4, false}, {48, 32, false}, {256, 32, true},
};

using ProgramIcon = Exe;

TEST_F(ProgramIcon, GroupHoldsEachSizeAndDepthOnce)
{
    const auto group = resource(RT_GROUP_ICON, IDI_KESTREVANE);
    ASSERT_GE(group.size(), 6u);
    ASSERT_EQ(word(group, 2), 1) << "not an icon group";
    const size_t count = word(group, 4);
    ASSERT_EQ(group.size(), 6 + 14 * count);

    std::set<std::pair<int, int>> seen;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = 6 + 14 * i;
        const int size = group[at] == 0 ? 256 : group[at];
        EXPECT_TRUE(seen.insert({size, word(group, at + 6)}).second) << size << " px twice";
    }
    std::set<std::pair<int, int>> wanted;
    for (const auto& e : iconEntries) wanted.insert({e.size, e.bits});
    EXPECT_EQ(seen, wanted);
}

TEST_F(ProgramIcon, EachImageIsWhatItsEntrySaysAndDecodes)
{
    const auto group = resource(RT_GROUP_ICON, IDI_KESTREVANE);
    ASSERT_GE(group.size(), 6u);
    for (const auto& e : iconEntries) {
        SCOPED_TRACE(testing::Message() << e.size << " px, " << e.bits << " bits");
        int id = -1, colours = -1;
        for (size_t at = 6; at + 14 <= group.size(); at += 14) {
            const int size = group[at] == 0 ? 256 : group[at];
            if (size == e.size && word(group, at + 6) == e.bits) {
                id = word(group, at + 12);
                colours = group[at + 2];
            }
        }
        ASSERT_GE(id, 0) << "no such entry";
        EXPECT_EQ(colours, e.bits == 4 ? 16 : 0);

        auto image = resource(RT_ICON, id);
        ASSERT_GE(image.size(), 40u);
        if (e.png) {
            ASSERT_EQ(std::memcmp(image.data(), "\x89PNG\r\n\x1a\n", 8), 0) << "not a PNG";
            // IHDR width and height, big-endian.
            EXPECT_EQ(image.at(16 + 2) << 8 | image.at(16 + 3), e.size);
            EXPECT_EQ(image.at(20 + 2) << 8 | image.at(20 + 3), e.size);
        } else {
            EXPECT_EQ(dword(image, 0), 40u) << "not a BITMAPINFOHEADER";
            EXPECT_EQ(static_cast<int>(dword(image, 4)), e.size);
            EXPECT_EQ(static_cast<int>(dword(image, 8)), 2 * e.size) << "colour bits and mask";
            EXPECT_EQ(word(image, 14), e.bits);
        }
        HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, 0x00030000,
                                              e.size, e.size, LR_DEFAULTCOLOR);
        ASSERT_NE(icon, nullptr) << "does not decode";
        const SIZE size = imageSize(icon);
        EXPECT_EQ(size.cx, e.size);
        EXPECT_EQ(size.cy, e.size);
        DestroyIcon(icon);
    }
}

TEST_F(ProgramIcon, LoadsAtEverySize)
{
    for (const int s : {16, 32, 48, 256}) {
        SCOPED_TRACE(testing::Message() << s << " px");
        auto* icon = static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(IDI_KESTREVANE), IMAGE_ICON, s, s, 0));
        ASSERT_NE(icon, nullptr) << "error " << GetLastError();
        const SIZE size = imageSize(icon);
        EXPECT_EQ(size.cx, s);
        EXPECT_EQ(size.cy, s);
        DestroyIcon(icon);
    }
}

// ---------------------------------------------------------------------------
// Hand cursor

using HandCursor = Exe;

TEST_F(HandCursor, BothImagesAre16ColoursLoadAndPointWithTheFingertip)
{
    const auto group = resource(RT_GROUP_CURSOR, IDC_HAND_POINTER);
    ASSERT_GE(group.size(), 6u) << "no cursor group";
    ASSERT_EQ(word(group, 2), 2) << "not a cursor group";
    const size_t count = word(group, 4);
    ASSERT_EQ(group.size(), 6 + 14 * count);

    std::set<int> sizes;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = 6 + 14 * i;
        const int s = word(group, at);
        sizes.insert(s);
        SCOPED_TRACE(testing::Message() << s << " px");
        const auto image = resource(RT_CURSOR, word(group, at + 12));
        ASSERT_GE(image.size(), 4u + 40u);
        const int hotX = word(image, 0), hotY = word(image, 2);
        const size_t header = 4;
        EXPECT_EQ(static_cast<int>(dword(image, header + 4)), s);
        EXPECT_EQ(static_cast<int>(dword(image, header + 8)), 2 * s);
        ASSERT_EQ(word(image, header + 14), 4) << "not 16 colours";
        const uint32_t used = dword(image, header + 32);
        EXPECT_TRUE(used == 0 || used == 16) << used << " colours";

        // The mask's set bits are the transparent pixels; rows run bottom-up.
        const size_t xorStride = static_cast<size_t>((s * 4 + 31) / 32 * 4);
        const size_t andStride = static_cast<size_t>((s + 31) / 32 * 4);
        const size_t mask = header + dword(image, header) + 16 * 4 + xorStride * static_cast<size_t>(s);
        ASSERT_EQ(image.size(), mask + andStride * static_cast<size_t>(s));
        auto opaque = [&](int x, int y) {
            const size_t row = mask + andStride * static_cast<size_t>(s - 1 - y);
            return (image[row + static_cast<size_t>(x / 8)] & (0x80 >> (x % 8))) == 0;
        };
        int top = -1;
        for (int y = 0; y < s && top < 0; ++y)
            for (int x = 0; x < s; ++x)
                if (opaque(x, y)) top = y;
        ASSERT_GE(hotX, 0);
        ASSERT_LT(hotX, s);
        EXPECT_EQ(hotY, top) << "hotspot below the topmost pixel";
        EXPECT_TRUE(hotY < s && opaque(hotX, hotY)) << "hotspot on a transparent pixel";

        auto* cursor =
            static_cast<HCURSOR>(LoadImageW(module_, MAKEINTRESOURCEW(IDC_HAND_POINTER), IMAGE_CURSOR, s, s, 0));
        ASSERT_NE(cursor, nullptr) << "does not load, error " << GetLastError();
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        EXPECT_FALSE(info.fIcon);
        EXPECT_EQ(static_cast<int>(info.xHotspot), hotX);
        EXPECT_EQ(static_cast<int>(info.yHotspot), hotY);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        const SIZE size = imageSize(cursor);
        EXPECT_EQ(size.cx, s);
        EXPECT_EQ(size.cy, s);
        DestroyCursor(cursor);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));
}

// ---------------------------------------------------------------------------
// Manifest

using Manifest = Exe;

TEST_F(Manifest, DeclaresPrivilegesStylesOsAndDpi)
{
    const auto bytes = resource(RT_MANIFEST, 1);
    ASSERT_FALSE(bytes.empty()) << "no manifest";
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const char* wanted[] = {
        R"(level="asInvoker")",
        R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
        R"(publicKeyToken="6595b64144ccf1df")",
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}", // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // 10 and 11
        ">true/pm</dpiAware>",
        ">PerMonitorV2, PerMonitor</dpiAwareness>",
    };
    for (const char* w : wanted) EXPECT_NE(text.find(w), std::string_view::npos) << "missing " << w;
    // The program works in the system's ANSI code page, so none is forced.
    EXPECT_EQ(text.find("<activeCodePage"), std::string_view::npos);
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: resources_test [gtest options] PATH_TO_Kestrevane.exe\n");
        return 2;
    }
    exePath = widen(argv[1]);
    return RUN_ALL_TESTS();
}
