#include <gtest/gtest.h>

#include "platform/registry/registry_hive_text.h"

using namespace platform;

namespace {

RegistryHive SampleHive() {
    RegistryHive hive;
    std::string every;
    for (int c = 0; c < 256; ++c) every += static_cast<char>(c);
    auto& key = hive.Create({"Software", "Pellorin"});
    key.SetValue({"Text", every});
    key.SetValue({every, std::string("name of every byte")});
    key.SetValue({"Int", int32_t{-42}});
    key.SetValue({"Bin", std::vector<uint8_t>{0, 0xab, 0xff}});
    hive.Create({"Software", "Empty key"});
    hive.Create({}).SetValue({"root value", int32_t{7}});
    return hive;
}

}  // namespace

TEST(RegistryHiveText, FormatThenParseGivesTheSameText) {
    std::string text = FormatHive(SampleHive());
    auto parsed = ParseHive(text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(FormatHive(*parsed), text);
    const RegistryKeyNode* key = parsed->Find({"software", "PELLORIN"});
    ASSERT_TRUE(key);
    EXPECT_EQ(std::get<int32_t>(key->Value("int")->data), -42);
    EXPECT_TRUE(parsed->Find({"Software", "Empty key"}));
    // Every line is printable: control bytes never reach the file raw.
    for (char c : text) EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << int(c);
}

TEST(RegistryHiveText, HandWrittenHiveWithCommentsAndBlankLinesParses) {
    auto hive = ParseHive(
        "FRAMEWICK-REGISTRY 1\r\n"
        "# written by hand\n"
        "\n"
        "key \"Software\\\\Odd\\Path\\\"\n"
        "   str \"Name\"   \"a %22quoted%22 %25 text\"\n"
        "\tint \"N\" -2147483648\n"
        "bin \"B\" \"00FFab\"\n"
        "end\n\n");
    ASSERT_TRUE(hive);
    const RegistryKeyNode* key = hive->Find({"Software", "Odd", "Path"});
    ASSERT_TRUE(key);
    EXPECT_EQ(std::get<std::string>(key->Value("name")->data), "a \"quoted\" % text");
    EXPECT_EQ(std::get<int32_t>(key->Value("N")->data), INT32_MIN);
    EXPECT_EQ(std::get<std::vector<uint8_t>>(key->Value("B")->data), (std::vector<uint8_t>{0, 0xff, 0xab}));
}

TEST(RegistryHiveText, DamagedTextYieldsNothing) {
    static const char kGarbage[] = "FRAMEWICK-REGISTRY 1\n\0\xff\xfe garbage\nend\n";
    const std::string good = FormatHive(SampleHive());
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty file", ""},
        {"cut short", good.substr(0, good.size() / 2)},
        {"end line missing", good.substr(0, good.rfind("end"))},
        {"other header", "FRAMEWICK-REGISTRY 2\nend\n"},
        {"no header", "key \"A\"\nend\n"},
        {"value before a key", "FRAMEWICK-REGISTRY 1\nint \"x\" 1\nend\n"},
        {"unknown line", "FRAMEWICK-REGISTRY 1\nkey \"A\"\nfloat \"x\" 1.5\nend\n"},
        {"integer too large", "FRAMEWICK-REGISTRY 1\nkey \"A\"\nint \"x\" 2147483648\nend\n"},
        {"integer with junk", "FRAMEWICK-REGISTRY 1\nkey \"A\"\nint \"x\" 12abc\nend\n"},
        {"odd hex", "FRAMEWICK-REGISTRY 1\nkey \"A\"\nbin \"x\" \"abc\"\nend\n"},
        {"bad hex", "FRAMEWICK-REGISTRY 1\nkey \"A\"\nbin \"x\" \"zz\"\nend\n"},
        {"bad escape", "FRAMEWICK-REGISTRY 1\nkey \"A\"\nstr \"x\" \"%G1\"\nend\n"},
        {"escape cut", "FRAMEWICK-REGISTRY 1\nkey \"A\"\nstr \"x\" \"%4\"\nend\n"},
        {"unclosed quote", "FRAMEWICK-REGISTRY 1\nkey \"A\nend\n"},
        {"raw control byte", std::string("FRAMEWICK-REGISTRY 1\nkey \"A\x01\"\nend\n")},
        {"extra token", "FRAMEWICK-REGISTRY 1\nkey \"A\" \"B\"\nend\n"},
        {"text after end", "FRAMEWICK-REGISTRY 1\nend\nkey \"A\"\n"},
        {"binary garbage", std::string(kGarbage, sizeof kGarbage - 1)},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseHive(c.text, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}
