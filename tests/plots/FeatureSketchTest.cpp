#include "plots/FeatureSketch.h"

#include "plots/SketchPage.h"

#include <gtest/gtest.h>

#include <string>

namespace quorin::plots {
namespace {

TEST(FeatureSketchTest, drawsTheSketchedKeysAsNumberedDomains)
{
    core::PropertyRecord record;
    record.SetName("MEMB1_SYNTH");
    record.SetSequence(std::string(120, 'A'));
    record.features = {
        {"SIGNAL", "1", "20", ""},
        {"TRANSMEM", "41", "61", "Helical"},
        {"MOD_RES", "100", "100", "Phosphoserine"},
        {"TRANSMEM", "71", "91", "Helical"},
        {"TOPO_DOM", "92", ">200", "Extracellular"},
        {"REGION", "<1", "?", "Disordered"},
        {"DOMAIN", "?", "30", ""},
        {"HELIX", "50", "45", ""},
        {"CHAIN", "21", "120", "A chain whose name would be far too long"},
    };
    record.sketch.marks.push_back({});
    SketchFeatures(record);

    const struct
    {
        const char* name;
        int start;
        int end;
    } expected[] = {
        {"MEMB1_SYNTH", 1, 120}, {"SIGNAL", 1, 20},     {"TRANSMEM 1", 41, 61},
        {"TRANSMEM 2", 71, 91},  {"TOPO_DOM", 92, 120}, {"REGION", 1, 120},
        {"DOMAIN", 1, 30},       {"HELIX", 45, 50},     {"CHAIN", 21, 120},
    };
    const auto& domains = record.sketch.domains;
    ASSERT_EQ(domains.size(), std::size(expected));
    for (std::size_t i = 0; i < domains.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(domains[i].name, expected[i].name);
        EXPECT_EQ(domains[i].start, expected[i].start);
        EXPECT_EQ(domains[i].end, expected[i].end);
        // The whole sequence stays as a new sketch has it; the features show their names.
        EXPECT_EQ(domains[i].displayName, i == 0 ? 0 : 1);
        EXPECT_EQ(domains[i].colour,
                  i == 0 ? kDefaultDomainColour : FeatureColour(domains[i].name.substr(0, 8)));
    }
    EXPECT_NE(FeatureColour("TRANSMEM"), FeatureColour("TOPO_DOM"));
    EXPECT_EQ(FeatureColour("MOD_RES"), kDefaultDomainColour);
    EXPECT_DOUBLE_EQ(record.sketch.scale, kSketchDefaultWidth / 120);
    EXPECT_EQ(record.sketch.marks.size(), 1u);

    // Opened again, the sketch is made anew rather than added to.
    SketchFeatures(record);
    EXPECT_EQ(record.sketch.domains.size(), std::size(expected));
}

TEST(FeatureSketchTest, leavesOutWhatAFileCannotStore)
{
    core::PropertyRecord record;
    record.SetName("LONG");
    record.SetSequence(std::string(70000, 'A'));
    record.features = {{"DOMAIN", "65000", "69000", ""}, {"REGION", "65536", "69999", ""}};
    SketchFeatures(record);
    // A start past the 16 bits a file stores has no place in the sketch.
    ASSERT_EQ(record.sketch.domains.size(), 2u);
    EXPECT_EQ(record.sketch.domains[1].start, 65000);
    EXPECT_EQ(record.sketch.domains[1].end, kLastStoredPosition);
}

} // namespace
} // namespace quorin::plots
