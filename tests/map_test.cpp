// The attribute-key mapping: the seven numeric attributes' file keys.
#include "design.h"
#include "map.h"

#include <gtest/gtest.h>

namespace {

class mapping : public testing::Test {
protected:
    void SetUp() override { init_mapping(), encode_lib(); }
};

TEST_F(mapping, sets_the_seven_keys)
{
    EXPECT_EQ(attr_enc.size(), 8u);
    EXPECT_EQ(attr_enc.at("cell_type"), "cell_type");
    EXPECT_EQ(attr_a + attr_b + attr_pd + attr_leak + attr_cap + attr_area + attr_maxc,
              "data_1_fdata_2_fdata_3_idata_4_fdata_5_fdata_6_fdata_7_f");
}

} // namespace
