// A small GIF decoder for checking the writers: block structure, colour tables, control
// extensions and LZW data (deinterlaced), and a viewer's composition of animation frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DecodedGifFrame {
  int left = 0, top = 0, width = 0, height = 0;
  bool interlaced = false;
  bool hasControl = false;
  int disposal = 0;
  int delay = 0;
  bool transparent = false;
  int transparentIndex = 0;
  int minimumCodeSize = 0;
  std::vector<std::uint8_t> localTable;  // red, green, blue triples
  std::vector<std::uint8_t> indices;     // rows from the top
};

struct DecodedGif {
  std::string signature;
  int width = 0, height = 0;
  int packed = 0;
  std::vector<std::uint8_t> globalTable;
  bool hasLoop = false;
  int loopCount = 0;
  std::vector<DecodedGifFrame> frames;
  int clearCodes = 0;  // clear codes met in the data (including the first of each image)
};

// Empty error text on success.
std::string DecodeGif(const std::vector<std::uint8_t>& bytes, DecodedGif& gif);

// What a viewer shows after each frame, as 0xAARRGGBB with alpha 0 for background.
std::vector<std::vector<std::uint32_t>> ComposeGifFrames(const DecodedGif& gif);

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
