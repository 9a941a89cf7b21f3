#pragma once
// A Canvas that records every call with its arguments, for drawing tests. Text width
// is a deterministic fake: `char_width` DIPs per Unicode scalar value.
#include <string>
#include <string_view>
#include <vector>

#include "core/ui/canvas.h"
#include "core/ui/text_metrics.h"

namespace tw::test {

struct DrawCall {
    enum class Op { FillRect, FillRoundedRect, StrokeRoundedRect, Text, PushClip, PopClip };
    Op op = Op::FillRect;
    RectF rect;
    float radius = 0;
    Brush brush;
    float stroke = 0;
    std::string text;
    TextFormat format = TextFormat::Body;
    bool clip = false;
};

class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(float char_width = 7) : char_width_(char_width) {}

    float measure_text_width(std::string_view utf8, TextFormat format) override {
        ++measure_calls;
        (void)format;
        return static_cast<float>(count_scalars(utf8)) * char_width_;
    }
    void fill_rect(const RectF& r, const Brush& b) override {
        calls.push_back({DrawCall::Op::FillRect, r, 0, b, 0, {}, TextFormat::Body, false});
    }
    void fill_rounded_rect(const RectF& r, float radius, const Brush& b) override {
        calls.push_back({DrawCall::Op::FillRoundedRect, r, radius, b, 0, {}, TextFormat::Body, false});
    }
    void stroke_rounded_rect(const RectF& r, float radius, const Brush& b, float width) override {
        calls.push_back(
            {DrawCall::Op::StrokeRoundedRect, r, radius, b, width, {}, TextFormat::Body, false});
    }
    void draw_text(std::string_view utf8, const RectF& r, TextFormat format, const Brush& b,
                   bool clip) override {
        calls.push_back({DrawCall::Op::Text, r, 0, b, 0, std::string(utf8), format, clip});
    }
    void push_clip(const RectF& r) override {
        calls.push_back({DrawCall::Op::PushClip, r, 0, {}, 0, {}, TextFormat::Body, false});
    }
    void pop_clip() override {
        calls.push_back({DrawCall::Op::PopClip, {}, 0, {}, 0, {}, TextFormat::Body, false});
    }

    std::vector<DrawCall> of(DrawCall::Op op) const {
        std::vector<DrawCall> out;
        for (const DrawCall& c : calls) {
            if (c.op == op) out.push_back(c);
        }
        return out;
    }
    std::vector<DrawCall> texts() const { return of(DrawCall::Op::Text); }
    void clear() { calls.clear(); }

    std::vector<DrawCall> calls;
    int measure_calls = 0;

private:
    float char_width_;
};

}  // namespace tw::test
