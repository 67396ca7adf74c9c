// The Windows release and version in the Quick Info report, under every Windows version
// Wine can be set to that the release names tell apart.
#include <string>
#include <vector>

#include "product_test.h"

namespace kestrevane::e2e {
namespace {

// The Machine field of a PE file's header, or 0 when the file is no PE image.
WORD machineOf(const std::wstring& path)
{
    const std::optional<std::string> bytes = readBytes(path);
    if (!bytes || bytes->size() < 0x40 || bytes->compare(0, 2, "MZ") != 0) return 0;
    const auto at = [&](std::size_t offset, std::size_t size) {
        DWORD value = 0;
        for (std::size_t i = 0; i < size; ++i)
            value |= static_cast<DWORD>(static_cast<unsigned char>((*bytes)[offset + i])) << (8 * i);
        return value;
    };
    const std::size_t pe = at(0x3C, 4);
    if (pe > bytes->size() - 6 || bytes->compare(pe, 4, std::string("PE\0\0", 4)) != 0) return 0;
    return static_cast<WORD>(at(pe + 4, 2));
}

const char* architectureOf(WORD machine)
{
    switch (machine) {
    case IMAGE_FILE_MACHINE_AMD64: return "x86_64";
    case IMAGE_FILE_MACHINE_I386: return "i686";
    default: return "unknown";
    }
}

bool underWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// Wine's Windows version for the processes started while this lives.
class WineVersionSetting : public UserRegistryValue {
public:
    explicit WineVersionSetting(const std::wstring& setting)
        : UserRegistryValue(L"Software\\Wine", L"Version", REG_SZ, setting.c_str(),
                            static_cast<DWORD>((setting.size() + 1) * sizeof(wchar_t)))
    {
    }
};

class VersionReport : public ProductTest, public ::testing::WithParamInterface<WindowsRelease> {};

TEST_P(VersionReport, NamesTheReleaseAndShowsTheWholeVersionNumber)
{
    const WindowsRelease& row = GetParam();
    ASSERT_TRUE(underWine()) << "this test sets the Windows version Wine reports, so it runs only under Wine";
    const WORD machine = machineOf(productPath());
    ASSERT_TRUE(machine == IMAGE_FILE_MACHINE_AMD64 || machine == IMAGE_FILE_MACHINE_I386)
        << "no x86_64 or i686 exe at " << narrow(productPath()) << " (machine " << machine << ")";
    ASSERT_FALSE(versionProbePath().empty()) << "no --version-probe=PATH_TO_version_probe.exe given";
    // Only a probe of the product's own kind is sure to be told the same version.
    ASSERT_EQ(machineOf(versionProbePath()), machine)
        << "the version probe " << narrow(versionProbePath()) << " is not built for the product's architecture, "
        << architectureOf(machine);

    const WineVersionSetting setting(row.wineSetting);
    ASSERT_TRUE(setting.error().empty()) << narrow(setting.error());

    const VersionProbeRun probe = runVersionProbe();
    ASSERT_TRUE(probe.version.has_value()) << narrow(probe.error);
    const ReportedVersion& v = *probe.version;
    // A setting Wine ignores would otherwise pass as whatever version it reports instead.
    ASSERT_TRUE(v.major == row.major && v.minor == row.minor && v.platform == row.platform)
        << "with Version=" << narrow(row.wineSetting) << " a " << architectureOf(machine) << " program is told "
        << v.major << "." << v.minor << ", platform " << v.platform << ", not " << row.major << "." << row.minor
        << ", platform " << row.platform;
    // The 9x builds carry the version in their high word: only they show whether the
    // report writes all 32 bits of the field.
    if (row.platform == VER_PLATFORM_WIN32_WINDOWS) {
        ASSERT_NE(v.build >> 16, 0u) << "build " << v.build << " has no high word, so it tells nothing apart";
    }

    const HWND window = startToMainWindow();
    ASSERT_NE(window, nullptr);
    expectFocusOn(window, Main::cmdQuickInfo, "after the start");
    ASSERT_FALSE(HasFailure());
    product().postKey(VK_RETURN);
    const MessageBoxSeen box = waitForMessageBox(product(), L"Kestrevane QuickInfo");
    ASSERT_NE(box.box, nullptr) << "no \"Kestrevane QuickInfo\" box within 15 s of Enter; the program "
                                << narrow(product().state());

    const std::wstring heading = L"[ Your system ]\r\n";
    const std::size_t at = box.text.find(heading);
    ASSERT_NE(at, std::wstring::npos) << ::testing::PrintToString(box.text);
    EXPECT_EQ(box.text.substr(at + heading.size()), expectedVersionReport(row.releaseName, v))
        << architectureOf(machine) << " program, Version=" << narrow(row.wineSetting);
    // The box is left open: the product's destructor ends it, one start per setting being
    // the cost here; closing and leaving are the Quick Info test's.
}

INSTANTIATE_TEST_SUITE_P(WindowsVersion, VersionReport, ::testing::ValuesIn(windowsReleases()),
                         [](const ::testing::TestParamInfo<WindowsRelease>& row) {
                             return narrow(row.param.wineSetting);
                         });

} // namespace
} // namespace kestrevane::e2e
