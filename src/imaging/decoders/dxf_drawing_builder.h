#pragma once
// Stores the entities a drawing's reader gathers: each into the drawing's
// compact arrays of entities, points, numbers and texts, with its layer and
// block names turned into indices.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/result.h"
#include "imaging/decoders/dxf_drawing.h"
#include "imaging/decoders/dxf_entity_groups.h"
#include "imaging/decoders/dxf_text.h"
#include "imaging/work_meter.h"

namespace pictavo::imaging::dxf {

class DrawingBuilder {
  public:
    DrawingBuilder(WorkMeter& work, size_t expectedEntities);

    // Text of AC1021 (2007) and later files is UTF-8.
    void setUtf8(bool utf8) { utf8_ = utf8; }
    // The layer's index, made when the name is new.
    uint32_t layerIndex(std::string_view name);
    void setLayer(Layer layer);
    uint32_t entityCount() const { return static_cast<uint32_t>(drawing_.entities.size()); }
    Drawing& drawing() { return drawing_; }

    // Stores one entity; fails only when the drawing grows too big or work
    // stops. Entities we do not draw are passed over.
    Result<void> store(Pending& p);

  private:
    uint32_t blockNameIndex(std::string_view name);
    uint32_t addPoints(const std::vector<Point>& points);
    uint32_t addPoints(std::initializer_list<Point> points);
    uint32_t addValues(const Pending& p);
    Result<void> push(Entity entity);

    Result<void> storePolyline(const Pending& p, Entity e);
    Result<void> storeSpline(const Pending& p, Entity e);
    Result<void> storeEllipse(Pending& p, Entity e);
    Result<void> storeInsert(Pending& p, Entity e);
    Result<void> storeCorners(const Pending& p, Entity e);
    Result<void> storeText(Pending& p, Entity e);
    Result<void> storeParagraph(Pending& p, Entity e);
    std::u32string decodeText(std::string_view raw) const { return decodeDxfText(raw, utf8_); }

    WorkMeter& work_;
    bool utf8_ = false;
    Drawing drawing_;
    std::unordered_map<std::string, uint32_t> layers_;
    std::unordered_map<std::string, uint32_t> blockNames_;
    std::string lastLayerName_;
    uint32_t lastLayer_ = kNone;
};

}  // namespace pictavo::imaging::dxf
