// Texts of the string table that the option record stores into documents and compares
// against: they are data of the style files, so they are fixed here rather than loaded.
#pragma once

constexpr const char kBackgroundName[] = "Background";          // strings 33098, 33196
constexpr const char kDuotoneDarkName[] = "Duotone dark";       // 33193
constexpr const char kDuotoneLightName[] = "Duotone light";     // 33194
constexpr const char kTintName[] = "Tint";                      // 33195
constexpr const char kClickToEnlarge[] = "Click to enlarge";    // 33214
constexpr const char kTextureWord[] = "Texture";                // 33066
constexpr const char kColourAOfTexture[] = "Color 1 of Texture";  // 33096
constexpr const char kColourBOfTexture[] = "Color 2 of Texture";  // 33097
constexpr const char kLightSource[] = "Light source";           // 33150
constexpr const char kLightSourceOne[] = "Light source 1";      // 33120
constexpr const char kKiqOrQ3dFile[] = "(kiq or q3d file)";     // 33151
constexpr const char k3dHeadingsFolder[] = "3d Headings";       // 33158
constexpr const char kBackgroundsFolder[] = "Backgrounds";      // 33109
constexpr const char kBannerAdsFolder[] = "BannerAds";          // 33159

// String ids of the messages the record shows.
enum OptionsMessageId : unsigned {
  kMsgReadOnlyFile = 122,          // "Cannot write file as it is read only."
  kMsgNotAStyleFile = 10073,       // "That is not a valid Quor Bar Wright file"
  kMsgDataFileMissing = 32826,     // "The data file %s could not be found. ..."
  kMsgTemplateMissing = 32895,     // "The template that %s is based upon is ..."
};
