// The effect surface's frame: the internal scope's three kinds and the
// sixteen drawing commands AVE scripts call. All commands work in place on
// the rows of a 24-bpp surface; rows count from memory row 0 (the bottom
// line of a bottom-up surface) upward, pixels from left to right.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "effects/FastDIB.h"
#include "effects/ave_script.h"

enum class VisualType { None = 0, Internal = 1, Ave = 2 };
enum class ScopeKind { Dots = 0, Lines = 1, Solid = 2 };

// The effect surface's 18 colour-table stops, red in the lowest byte.
extern const std::array<uint32_t, 18> kEffectColours;
// (Re)creates the effect surface empty at 24 bpp with its colour table filled.
bool prepare_effect_surface(TFastDIB& surface, int width, int height);

class AveRenderer {
  public:
    static constexpr int kFrames = 576;  // sample frames per block, two int16 each

    enum Command {
        RENDER,
        SCOPE_DOTS,
        SCOPE_LINE,
        SCOPE_SOLID,
        BLUR_SOFT,
        BLUR_EDGES,
        BLUR_SPLIT,
        ZOOM_IN,
        ZOOM_OUT,
        ROTATE,
        CLEAR,
        SHARP,
        EMBOSS,
        MOSAIC,
        SHIFT,
        BLEED_EDGES,
        COMMAND_COUNT
    };
    // -1 for a name not in the table; the name must already be upper case.
    static int command_index(std::string_view name);

    TFastDIB* surface = nullptr;
    int scale = 1;
    int baseline_1 = 0;
    int baseline_2 = 0;
    uint32_t colour_1 = 0;  // red in the lowest byte
    uint32_t colour_2 = 0;
    const int16_t* samples = nullptr;  // kFrames frames, left and right
    std::function<void(const TFastDIB&)> on_render;

    // scale and baselines for the surface's height, as the meter timer sets them.
    void set_geometry();

    // One command inside its own guard; false when it was not run or failed.
    bool execute(int command, double x1 = 0, double x2 = 0);
    bool execute(const AveCall& call);
    // One frame by the visual type; errors are absorbed.
    void draw_frame(VisualType type, ScopeKind kind, AveScripts& scripts);
    // Connects the scripts' function calls to this renderer.
    void attach(AveScripts& scripts);

  private:
    void run(int command, double x1, double x2);
    int sample_row(int k) const;
    int sample_offset(int k) const;
    void put(int column, int row, uint32_t colour);
    void fill_column(int column, int from_row, int to_row, uint32_t colour);
    void scope_dots();
    void scope_line();
    void scope_solid();
    void blur_soft();
    template <int Weight, int Divisor, bool Split>
    void corners(int n);
    void zoom(int n, bool in);
    void rotate(double degrees, int smooth);
    void sharp();
    void emboss();
    void mosaic(int n, int m);
    void shift(int n, int m);
};
