// Save operations: write the current graphic to a file with a writer of its own, without the
// exporter objects. All return 1 on success and 0 on failure.
#pragma once

class Bitmap32;
class ExportRecord;
class ImageExporter;

// By the record's export type; with an image and more than one state, an animated GIF of all
// states (the image itself is not used then).
int SaveGraphic(const char* path, const Bitmap32* image);
// One image: the given one as it is, or a fresh render of the current graphic.
int SaveGif(const char* path, const Bitmap32* image);
int SavePng(const char* path, const Bitmap32* image);
int SaveJpeg(const char* path, const Bitmap32* image);
// Renders every state and writes them as one animated GIF, which it also hands to the
// animation preview.
int SaveAnimatedGif(const char* path, bool showWaitCursor);
// Adds the background colour to the fixed palette colours of an opaque palette export;
// 0 only when that fails.
int ApplyExportBackground(ImageExporter* writer, ExportRecord* record);
