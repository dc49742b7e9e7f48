// The template engine core: one loaded template (.kiq, see README.md), its property slots, its
// page size, its states and its rendering into a 32-bit buffer.
//
// Call protocol: Load (or LoadFromText), then any number of SetSlotValue, SelectState, PageSize
// and Render calls, then Unload. Nothing here throws across its interface for bad input: reads
// report an error text, writes that cannot be understood leave the slot as it was.
//
// Buffers: width x height 32-bit words, rows bottom-up, 0xTTRRGGBB with T = 255 - opacity and
// the colour premultiplied by the opacity. The caller pre-fills them (0xFF000000 is clear).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace stylekit {

// Document units: 1/750 of a page pixel.
constexpr int kUnitsPerPixel = 750;

// Slot types as the engine's client reads them.
enum SlotType {
    kSlotTracking = 1,  // integer (also the text justification)
    kSlotAspect = 2,    // integer percentage
    kSlotStyle = 3,     // bold or italic, 0 or 1
    kSlotSize = 4,      // integer: text size in 1/1000 pt, or a bevel value
    kSlotColour = 5,    // "rrggbb"
    kSlotFont = 6,      // face name
    kSlotBitmap = 8,    // picture file path
    kSlotText = 9,      // text, text position or fill type (by description)
    kSlotSpecial = 10,  // constraint or clip viewport
};

struct Slot {
    std::string name;
    std::string description;
    std::string tag;
    std::string key;
    int type = 0;
    std::string value;    // as GetValue reports it
    int lineSpacing = 100;  // text slots: percent of the normal line advance
};

// A rectangle in document units.
struct UnitRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct TemplateModel;  // the parsed file (StyleTemplate.h)
struct DrawScratch;    // buffers kept between renders (StyleDraw.h)

// Fill type and bitmap matrix of a FILLTYPE value: "<type>[ ]Matrix A a B b C c D d E e F f".
struct FillTypeValue {
    std::string type;  // "Flat", "Bitmap", "ContoneBitmap", ... as written
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
};
bool ParseFillType(const std::string& text, FillTypeValue* out);

// "rrggbb" (an optional leading '#') -> 0xRRGGBB.
bool ParseHexColour(const std::string& text, std::uint32_t* rgb);

class StyleEngine {
public:
    StyleEngine();
    ~StyleEngine();
    StyleEngine(const StyleEngine&) = delete;
    StyleEngine& operator=(const StyleEngine&) = delete;

    // Reads a template file; relative picture paths are taken from its folder.
    bool Load(const std::string& path, std::string* error);
    bool LoadFromText(const char* data, std::size_t size, const std::string& folder,
                      std::string* error);
    void Unload();
    bool IsLoaded() const { return m_model != nullptr; }

    std::size_t SlotCount() const { return m_slots.size(); }
    const Slot& GetSlot(std::size_t index) const { return m_slots[index]; }
    // Index of the slot with that name (ignoring case), -1 when none.
    int FindSlot(const std::string& name) const;
    // Takes a value in the slot's format; false (slot unchanged) when it cannot be read.
    bool SetSlotValue(std::size_t index, const std::string& value);

    // Page size in pixels, from the sizing rules, the text and the constraint.
    void PageSize(double* width, double* height) const;

    int StateCount() const;
    int CurrentState() const { return m_state; }  // from 1
    bool SelectState(int state);
    // Display time of the current state in hundredths of a second.
    int StateTime() const;

    // Named objects (shape ids) for clip viewports: id from 1, 0 when not found.
    int FindObject(const std::string& name) const;
    bool GetObjectBounds(int id, UnitRect* bounds) const;

    // Draws the page (or the clip part of it) scaled onto width x height pixels.
    bool Render(int width, int height, const UnitRect* clip, std::uint32_t* pixels) const;

    // Limits on what a caller or a file may ask of us.
    static const int kMaxRenderSide = 16384;
    static const std::size_t kMaxFileSize = 4 * 1024 * 1024;

private:
    std::unique_ptr<TemplateModel> m_model;
    std::vector<Slot> m_slots;
    std::string m_folder;
    int m_state = 1;
    // Rendering reuses it: one engine renders on one thread at a time.
    mutable std::unique_ptr<DrawScratch> m_scratch;
};

}  // namespace stylekit
