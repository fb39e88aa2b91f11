#include "calc/catalogue.h"

#include <gtest/gtest.h>

namespace mk {
namespace {

TEST(PipeCatalogue, SizesLabelsNamesAndDiameters) {
  ASSERT_EQ(PipeSizes(PipeMaterial::VP).size(), 8u);
  ASSERT_EQ(PipeSizes(PipeMaterial::VU).size(), 13u);
  ASSERT_EQ(PipeSizes(PipeMaterial::FRPM).size(), 19u);
  ASSERT_EQ(PipeSizes(PipeMaterial::Hume).size(), 25u);

  const CatalogueSize vp = PipeSizes(PipeMaterial::VP)[0];
  EXPECT_EQ(vp.label, "ＶＰ－φ６５");
  EXPECT_EQ(vp.storedName, "VP - φ65");
  EXPECT_DOUBLE_EQ(vp.D, 0.0678);  // inner diameter, not the nominal size
  EXPECT_DOUBLE_EQ(PipeSizes(PipeMaterial::VP)[7].D, 0.2878);

  const CatalogueSize vu = PipeSizes(PipeMaterial::VU)[8];
  EXPECT_EQ(vu.label, "ＶＵ－φ３５０");
  EXPECT_EQ(vu.storedName, "VU - φ350");
  EXPECT_DOUBLE_EQ(vu.D, 0.349);
  EXPECT_DOUBLE_EQ(PipeSizes(PipeMaterial::VU)[12].D, 0.5944);

  const CatalogueSize frpm = PipeSizes(PipeMaterial::FRPM)[0];
  EXPECT_EQ(frpm.label, "ＦＲＰＭ管－φ２００");
  EXPECT_EQ(frpm.storedName, "強化プラスチック複合管 φ200");
  EXPECT_DOUBLE_EQ(frpm.D, 0.2);
  EXPECT_DOUBLE_EQ(PipeSizes(PipeMaterial::FRPM)[18].D, 2.0);

  const CatalogueSize hume = PipeSizes(PipeMaterial::Hume)[22];
  EXPECT_EQ(hume.label, "ヒューム管－φ２６００");
  EXPECT_EQ(hume.storedName, "ﾋｭｰﾑ管 φ2600");
  EXPECT_DOUBLE_EQ(hume.D, 2.6);
  EXPECT_EQ(PipeSizes(PipeMaterial::Hume)[0].storedName, "ﾋｭｰﾑ管 φ150");
  EXPECT_DOUBLE_EQ(PipeSizes(PipeMaterial::Hume)[24].D, 3.0);
}

TEST(PipeCatalogue, MaterialsCaptionsAndDefaultRoughness) {
  EXPECT_EQ(MaterialFromKind(0), PipeMaterial::VP);
  EXPECT_EQ(MaterialFromKind(3), PipeMaterial::Hume);
  EXPECT_FALSE(MaterialFromKind(4).has_value());
  EXPECT_FALSE(MaterialFromKind(-1).has_value());
  EXPECT_EQ(MaterialCaption(PipeMaterial::FRPM), "強化プラスチック複合管");
  EXPECT_EQ(MaterialCaption(PipeMaterial::Hume), "ヒューム管");
  EXPECT_EQ(DefaultRoughness(PipeMaterial::VP), "0.010");
  EXPECT_EQ(DefaultRoughness(PipeMaterial::FRPM), "0.010");
  EXPECT_EQ(DefaultRoughness(PipeMaterial::Hume), "0.013");
}

TEST(PipeCatalogue, UTroughsAndLookupsOutsideTheList) {
  ASSERT_EQ(UTroughSizes().size(), 7u);
  EXPECT_EQ(UTroughSizes()[3].label, "Ｕ－３００");
  EXPECT_EQ(UTroughSizes()[3].storedName, "U - 300 X 300");
  EXPECT_DOUBLE_EQ(UTroughSizes()[6].D, 0.6);
  EXPECT_EQ(LookupUTrough(0)->storedName, "U - 150 X 150");
  EXPECT_FALSE(LookupUTrough(7).has_value());
  EXPECT_FALSE(LookupUTrough(-1).has_value());
  EXPECT_FALSE(LookupPipe(PipeMaterial::VP, 8).has_value());
  EXPECT_EQ(LookupPipe(PipeMaterial::VU, 12)->storedName, "VU - φ600");
}

TEST(DepthChoices, ListsSeparatorsAndDefaults) {
  const auto& circular = DepthChoiceList(DepthListKind::Circular);
  ASSERT_EQ(circular.size(), 15u);
  EXPECT_EQ(circular[0].text, "満流");
  EXPECT_EQ(circular[5].text, "水深８割");
  EXPECT_EQ(circular[9].text, "水量９５％");
  EXPECT_EQ(circular[14].text, "水量７０％");
  EXPECT_EQ(DefaultDepthIndex(DepthListKind::Circular), 5);
  for (int separator : {1, 8}) {
    EXPECT_EQ(circular[static_cast<size_t>(separator)].text, "");
    EXPECT_FALSE(DepthChoiceMember(DepthListKind::Circular, separator).has_value());
  }
  EXPECT_EQ(DepthChoiceMember(DepthListKind::Circular, 2), DepthRatio::Depth95);
  EXPECT_EQ(DepthChoiceMember(DepthListKind::Circular, 9), DepthRatio::Flow95);

  const auto& rect = DepthChoiceList(DepthListKind::Rectangular);
  ASSERT_EQ(rect.size(), 7u);
  EXPECT_EQ(DefaultDepthIndex(DepthListKind::Rectangular), 4);
  EXPECT_EQ(rect[4].text, "水深８割");
  EXPECT_EQ(DepthChoiceMember(DepthListKind::Rectangular, 1), DepthRatio::Depth95);
  EXPECT_EQ(DepthChoiceMember(DepthListKind::Rectangular, 6), DepthRatio::Depth70);

  const auto& open = DepthChoiceList(DepthListKind::OpenChannel);
  ASSERT_EQ(open.size(), 8u);
  EXPECT_EQ(DefaultDepthIndex(DepthListKind::OpenChannel), 5);
  EXPECT_FALSE(DepthChoiceMember(DepthListKind::OpenChannel, 1).has_value());
  EXPECT_EQ(DepthChoiceMember(DepthListKind::OpenChannel, 5), DepthRatio::Depth80);
  EXPECT_EQ(open[7].text, "水深７割");

  for (DepthListKind kind :
       {DepthListKind::Circular, DepthListKind::Rectangular, DepthListKind::OpenChannel}) {
    EXPECT_FALSE(DepthChoiceMember(kind, -1).has_value());
    EXPECT_FALSE(DepthChoiceMember(kind, 15).has_value());
  }
}

TEST(DepthChoices, CodesAndCoefficients) {
  EXPECT_EQ(DepthCode(DepthRatio::Full), 10.0);
  EXPECT_EQ(DepthCode(DepthRatio::Depth85), 8.5);
  EXPECT_EQ(DepthCode(DepthRatio::Flow95), 95.0);
  EXPECT_EQ(DepthCode(DepthRatio::Flow70), 70.0);
  for (int i = 0; i <= static_cast<int>(DepthRatio::Flow70); ++i) {
    const auto ratio = static_cast<DepthRatio>(i);
    EXPECT_EQ(DepthRatioFromCode(DepthCode(ratio)), ratio);
  }
  EXPECT_FALSE(DepthRatioFromCode(0.0).has_value());
  EXPECT_FALSE(DepthRatioFromCode(8.0001).has_value());

  EXPECT_DOUBLE_EQ(PartialDepthTable(DepthRatio::Full).kA, 0.7853);
  EXPECT_DOUBLE_EQ(PartialDepthTable(DepthRatio::Full).kP, 3.1415);
  EXPECT_DOUBLE_EQ(PartialDepthTable(DepthRatio::Depth75).kA, 0.6318);
  EXPECT_DOUBLE_EQ(PartialDepthTable(DepthRatio::Flow75).kA, 0.589);
  EXPECT_DOUBLE_EQ(PartialDepthTable(DepthRatio::Flow70).kP, 1.8962);
  // Flow95 shares Depth90's perimeter coefficient.
  EXPECT_EQ(PartialDepthTable(DepthRatio::Flow95).kP, PartialDepthTable(DepthRatio::Depth90).kP);
}

}  // namespace
}  // namespace mk
