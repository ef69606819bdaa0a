// Pictures of the front window: the current spread redrawn (so that the
// module draws its part through the drawing group) and written as SVG or PNG.
#include "hostsim/host/runtime.h"

#include "hostsim/render/font_engine.h"
#include "hostsim/render/page_renderer.h"

#include <cstdio>

namespace hostsim {

render::FontEngine& Runtime::fontEngine() {
    if (!fontEngine_) fontEngine_ = std::make_shared<render::FontEngine>();
    return *fontEngine_;
}

bool Simulator::renderView(const std::string& path, std::string* error) {
    Runtime& rt = runtime();
    std::string why;
    bool ok = false;
    if (!rt.beginAction("render")) {
        why = "a callback is running";
    } else if (const Document* doc = rt.currentDocument(); doc == nullptr) {
        why = "no document open";
    } else {
        rt.redrawNow();
        render::SceneOptions options;
        options.fonts = &rt.fontEngine();
        const double scale = Runtime::scaleOf(*doc);
        const render::Scene scene = render::spreadScene(*doc, doc->currentSpread(), scale, rt.boxDrawings, options);
        ok = render::writeScene(scene, rt.fontEngine(), path, &why);
        if (ok) {
            char size[64];
            std::snprintf(size, sizeof size, "%dx%d pixels", scene.width, scene.height);
            rt.note("view of spread " + std::to_string(doc->currentSpread()) + " at " +
                    pointsText(render::sanitizeScale(scale) * 100.0) + "% written to \"" + path + "\" (" + size + ")");
        }
    }
    if (!ok) rt.note("view \"" + path + "\" not written: " + why);
    if (error != nullptr) *error = why;
    return ok;
}

const std::vector<render::BoxDrawing>& Simulator::boxDrawings() const noexcept { return runtime_->boxDrawings; }

}  // namespace hostsim
