// Pictures of layout views: a spread of a document as the host shows it
// (pasteboard, pages, box frames, picture previews, box text) with what the
// module drew for each box on top, written as SVG or PNG.
//
// Use: build a Scene of the spread (or of one page, for output that is drawn
// as on screen), then write it, or rasterise it and use the pixels:
//
//     FontEngine fonts;
//     Scene scene = spreadScene(doc, doc.currentSpread(), 2.0, drawings);
//     std::string error;
//     if (!writeScene(scene, fonts, "view.png", &error)) ...
//
// Nothing here throws; bad input (scale 0, not a number, huge boxes, missing
// picture files) gives a smaller or plainer picture, never a failure.
#pragma once

#include "hostsim/render/display_list.h"
#include "hostsim/render/font_engine.h"

#include "hostsim/model/document.h"

#include <optional>
#include <string>
#include <vector>

namespace hostsim::render {

// The largest picture written, in pixels each way; larger scenes are cut at
// the right and bottom, at their own scale.
inline constexpr int kMaxPixels = 8000;

struct SceneOptions {
    // The part of the spread shown, in spread points; default: the spread
    // and every box on it, with a margin of pasteboard.
    std::optional<Area> area;
    bool pasteboard = true;  // grey around the pages (else white)
    bool frames = true;      // box frames and the grey of pictures without a preview (screen only)
    // Pictures are decoded from their files (TIFF, JPEG, PNG); false draws
    // every picture as a placeholder.
    bool previews = true;
    // Measures the text of text boxes for line breaks; without it a
    // character counts as 0.55 em.
    FontEngine* fonts = nullptr;
};

struct Scene {
    Area area;            // spread points shown
    double scale = 1.0;   // pixels per point
    int width = 0, height = 0;  // pixels
    DisplayList list;     // spread points
};

// A scale that is no number, 0 or below, or below 1 % counts as 100 %;
// above 8000 % counts as 8000 %.
double sanitizeScale(double scale) noexcept;

// The spread (negative: a master spread) at `scale` pixels per point with
// the module's drawings painted after their boxes. A spread that does not
// exist gives an empty grey scene.
Scene spreadScene(const Document& doc, int spread, double scale, const std::vector<BoxDrawing>& drawings,
                  const SceneOptions& options = {});

// The scene as an SVG document: coordinates in spread points under a viewBox,
// text as <text> at its baseline.
std::string sceneToSvg(const Scene& scene);

// The scene's pixels. Text needs the fonts: a font that cannot be loaded
// fails with `error` naming it.
std::optional<Raster> rasterize(const Scene& scene, FontEngine& fonts, std::string* error = nullptr);

// Writes an 8-bit RGB PNG file; also into memory.
bool writePng(const Raster& raster, const std::string& path, std::string* error = nullptr);
std::optional<std::string> encodePng(const Raster& raster, std::string* error = nullptr);

// By the path's extension: ".svg" or ".png" (any case); others fail.
bool writeScene(const Scene& scene, FontEngine& fonts, const std::string& path, std::string* error = nullptr);

}  // namespace hostsim::render
