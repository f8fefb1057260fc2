#include "app/place_text.h"

#include <algorithm>
#include <limits>

#include "app/settings.h"
#include "model/layer.h"
#include "model/model_defaults.h"
#include "model/number_text.h"
#include "model/pen_table.h"
#include "model/stroke_font.h"

CPlaceTextValues CPlaceTextValues::Of(const CDovereduFont& font, int size)
{
    CPlaceTextValues v;
    v.text = font.Text();
    v.layer = std::to_string(font.Layer());
    v.pen = std::to_string(font.Pen());
    v.size = std::to_string(size);
    v.mirrored = font.IsMirrored();
    v.angle = std::to_string(font.Angle());
    return v;
}

CStrokeTextSettings CStrokeTextSettings::Of(const CDovereduFont& font, int size)
{
    return {font.Text(), font.Layer(), font.Pen(), size, font.IsMirrored(), font.Angle()};
}

CStrokeTextSettings CStrokeTextSettings::From(const CPlaceTextValues& values)
{
    CStrokeTextSettings s;
    s.text = values.text;
    s.layer = std::clamp<int>(LeadingInt(values.layer), 0, kLayerCount - 1);
    s.pen = std::clamp<int>(LeadingInt(values.pen), 0, kPenCount - 1);
    s.size = std::clamp<int>(LeadingInt(values.size), kMinStrokeFontSize, kMaxStrokeFontSize);
    s.mirrored = values.mirrored;
    s.angle = LeadingInt(values.angle);
    return s;
}

void CStrokeTextSettings::ApplyTo(CDovereduFont& font, CSettings& settings) const
{
    font.SetText(text);
    font.SetLayer(layer);
    font.SetPen(pen);
    font.SetMirrored(mirrored);
    font.SetAngle(angle);
    SetStrokeFontSize(settings, font, size);
}

void SetStrokeFontSize(CSettings& settings, CDovereduFont& font, int size)
{
    size = std::clamp(size, kMinStrokeFontSize, kMaxStrokeFontSize);
    settings.strokeFontSize = size;
    ModelDefaults().strokeFontSize = size;
    font.SetSize(size);
}

int32_t TurnedAngle(int32_t angle)
{
    constexpr int kQuarter = 90;
    constexpr int kFull = 360;
    const int64_t sum = int64_t {angle} + kQuarter;
    if (sum > std::numeric_limits<int32_t>::max())
        return static_cast<int32_t>(sum % kFull);
    return static_cast<int32_t>(sum);
}
