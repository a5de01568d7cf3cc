#include "Source/Interpreter/TextLayerControl.h"

namespace Quenta::Interpreter {

namespace {
// Lines run on the thread that runs their character's scripts; a layer marks itself
// on that thread only.
thread_local RunningTextLayer* innermost = nullptr;
}  // namespace

RunningTextLayer::RunningTextLayer(const Parser& parser, TextLayerControl& layer)
    : parser_(&parser), layer_(&layer), outer_(innermost) {
    innermost = this;
}

RunningTextLayer::~RunningTextLayer() { innermost = outer_; }

TextLayerControl* RunningTextLayer::of(const Parser& parser) {
    return innermost && innermost->parser_ == &parser ? innermost->layer_ : nullptr;
}

}  // namespace Quenta::Interpreter
