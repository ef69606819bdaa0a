#include "hostsim/render/page_renderer.h"

#include <cmath>

namespace hostsim::render {

double sanitizeScale(double scale) noexcept {
    if (!std::isfinite(scale) || scale < 0.01) return 1.0;
    return scale > 80.0 ? 80.0 : scale;
}

Scene spreadScene(const Document& doc, int spread, double scale, const std::vector<BoxDrawing>& drawings,
                  const SceneOptions& options) {
    static_cast<void>(doc);
    static_cast<void>(spread);
    static_cast<void>(drawings);
    static_cast<void>(options);
    Scene scene;
    scene.scale = sanitizeScale(scale);
    return scene;
}

std::string sceneToSvg(const Scene& scene) {
    static_cast<void>(scene);
    return {};
}

std::optional<Raster> rasterize(const Scene& scene, FontEngine& fonts, std::string* error) {
    static_cast<void>(scene);
    static_cast<void>(fonts);
    if (error != nullptr) *error = "not drawn yet";
    return std::nullopt;
}

bool writePng(const Raster& raster, const std::string& path, std::string* error) {
    static_cast<void>(raster);
    static_cast<void>(path);
    if (error != nullptr) *error = "not written yet";
    return false;
}

std::optional<std::string> encodePng(const Raster& raster, std::string* error) {
    static_cast<void>(raster);
    if (error != nullptr) *error = "not written yet";
    return std::nullopt;
}

bool writeScene(const Scene& scene, FontEngine& fonts, const std::string& path, std::string* error) {
    static_cast<void>(scene);
    static_cast<void>(fonts);
    static_cast<void>(path);
    if (error != nullptr) *error = "not written yet";
    return false;
}

}  // namespace hostsim::render
