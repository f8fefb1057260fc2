#include "app/edit_text_values.h"

#include <algorithm>

#include "model/layer.h"
#include "model/number_text.h"
#include "model/text.h"

CEditTextValues EditTextValuesOf(const CText& text, bool several)
{
    CEditTextValues values;
    values.text = several ? std::string(kSeveralTextsSelected) : text.text;
    values.height = std::to_string(text.Height());
    values.layer = std::to_string(text.Layer());
    values.angle = std::to_string(text.Angle());
    values.fontNumber = text.FontNumber();
    values.bold = text.IsBold();
    values.italic = text.IsItalic();
    return values;
}

bool EditTextApplies(const CEditTextValues& values)
{
    return !values.text.empty();
}

int EditTextLayer(const CEditTextValues& values)
{
    return std::clamp(LeadingInt(values.layer), 1, kLayerCount - 1);
}

void ApplyEditText(const CEditTextValues& values, CText& text, bool withString)
{
    if (withString)
        text.text = values.text;
    text.SetFontNumber(std::clamp(values.fontNumber, 0, static_cast<int>(CText::kFontMask)));
    text.SetHeight(LeadingInt(values.height));
    text.SetAngle(LeadingInt(values.angle));
    text.SetLayer(EditTextLayer(values));
    text.SetBold(values.bold);
    text.SetItalic(values.italic);
    text.Measure();
}
