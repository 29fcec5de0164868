// The filter mapper's registration in the registry, as DllRegisterServer of a filter library makes it.
#include <gtest/gtest.h>

#include "platform/dshow/dshow.h"
#include "platform/dshow/filter_mapper.h"
#include "platform/registry/registry.h"

namespace {
constexpr CLSID kFilter = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};

uint32_t U32At(const std::vector<uint8_t>& d, size_t at) {
    return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<uint32_t>(d[at + 3]) << 24;
}
}  // namespace

TEST(FilterMapper, RegistersAndUnregistersAFilterInItsCategory) {
    ComPtr<IFilterMapper2> mapper;
    ASSERT_EQ(CoCreate(CLSID_FilterMapper2, mapper), S_OK);
    const REGPINTYPES types[] = {{&GUID_NULL, &GUID_NULL}};
    const REGFILTERPINS pins[] = {{"Input", FALSE, FALSE, FALSE, TRUE, nullptr, nullptr, 1, types}};
    const REGFILTER2 setup = {1, MERIT_DO_NOT_USE, 1, pins};
    ASSERT_EQ(mapper->RegisterFilter(kFilter, "Test Filter", nullptr, &CLSID_LegacyAmFilterCategory, nullptr, &setup),
              S_OK);
    const REGFILTER2 wrongVersion = {2, 0, 0, nullptr};
    EXPECT_EQ(mapper->RegisterFilter(kFilter, "x", nullptr, nullptr, nullptr, &wrongVersion), E_INVALIDARG);

    const std::string key =
        "CLSID\\" + GuidToString(CLSID_LegacyAmFilterCategory) + "\\Instance\\" + GuidToString(kFilter);
    platform::TRegistry reg(platform::RootKey::ClassesRoot);
    ASSERT_TRUE(reg.OpenKeyReadOnly(key));
    EXPECT_EQ(reg.ReadString("FriendlyName"), "Test Filter");
    EXPECT_EQ(reg.ReadString("CLSID"), GuidToString(kFilter));
    const auto data = reg.ReadBinary("FilterData");
    ASSERT_TRUE(data);
    EXPECT_EQ(*data, dshow::EncodeFilterData(setup));
    ASSERT_GE(data->size(), 16u);
    EXPECT_EQ(U32At(*data, 0), 1u);
    EXPECT_EQ(U32At(*data, 4), MERIT_DO_NOT_USE);
    EXPECT_EQ(U32At(*data, 8), 1u);
    EXPECT_EQ(U32At(*data, 12), 8u);  // "many" only
    reg.CloseKey();

    EXPECT_EQ(mapper->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, kFilter), S_OK);
    EXPECT_FALSE(reg.KeyExists(key));
    EXPECT_EQ(mapper->UnregisterFilter(nullptr, nullptr, kFilter), S_OK);
}
