// Arbitrary bytes as the Text section of a text layer; bytes after a 0x01 byte are a
// font file given to the glyph service as a private font (as a packaged font file is).
// The layer runs for some frames, is drawn, and links under a few points are hovered
// and pressed. Lines call only the text built-ins and the string and conversion ones,
// so no input reaches the system; a script error ends the run as it would a character.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "Source/GameComponent/ScriptObject/TextLayerHost.h"
#include "Source/GameComponent/ScriptObject/TextLayerObject.h"
#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Script/F/DefinitionData.h"
#include "Source/Script/F/ScriptParser.h"
#include "framework/Graphics/BufferedImage.h"
#include "framework/Graphics/Painter.h"
#include "framework/Platform/Backend.h"
#include "framework/Platform/Glyphs.h"

namespace Quenta::Interpreter {
void registerTextBuiltIns(BuiltInTable& table);
void registerCoreStringBuiltIns(BuiltInTable& table);
void registerCoreConversionBuiltIns(BuiltInTable& table);
}  // namespace Quenta::Interpreter

namespace {

using namespace Quenta;

struct Host : GameComponent::TextLayerHost {
    void requestTextRedraw() override {}
    void openFromText(int, int) override {}
    void closeFromText(int, int) override {}
};

const Interpreter::BuiltInTable& builtIns() {
    static Interpreter::BuiltInTable* table = [] {
        auto* t = new Interpreter::BuiltInTable;
        Interpreter::registerTextBuiltIns(*t);
        Interpreter::registerCoreStringBuiltIns(*t);
        Interpreter::registerCoreConversionBuiltIns(*t);
        return t;
    }();
    return *table;
}

const std::string kHead =
    "<FUNC_TEXT_STYLE_REG>\n<SET_CONFIG>\nFuncName=Style\nFontSize=12\nFontColor=\"navy\"\n</SET_CONFIG>\n"
    "</FUNC_TEXT_STYLE_REG>\n"
    "<FUNC_TEXT_LAYER_REG>\n<SET_CONFIG>\nFuncName=T\nWidth=160\nHeight=90\nPosX=4\nPosY=4\n"
    "FuncNameTextStyle=Style\n</SET_CONFIG>\n<SET_TEXT>\n";
const std::string kTail = "\n</SET_TEXT>\n</FUNC_TEXT_LAYER_REG>\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool headless = Arbor::Platform::selectBackend("Headless");
    (void)headless;
    std::size_t split = 0;
    while (split < size && data[split] != 0x01) ++split;
    const std::string lines(reinterpret_cast<const char*>(data), split);
    std::unique_ptr<Arbor::Platform::PrivateFont> font;
    if (split + 1 < size) {
        font = Arbor::Platform::glyphService().addPrivateFont(std::span(data + split + 1, size - split - 1));
    }
    const std::string text = kHead + lines + kTail;
    try {
        Script::ScriptParser reader;
        reader.readFile(u"fuzz.func", std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        auto definition = Script::DefinitionData::build(reader);
        definition->link();
        const Script::DefinitionRecord* record = definition->find(u"T");
        if (!record) return 0;
        Interpreter::Parser parser;
        parser.setBuiltIns(builtIns());
        parser.setFunctionObjects(&definition->functionObjects());
        Interpreter::ScopeNode root(u"fuzz");
        Interpreter::ScopePush push(parser, root);
        Host host;
        GameComponent::TextLayerObject layer(parser, *definition, *record, host);
        Arbor::Graphics::BufferedImage surface(168, 98);
        for (int frame = 0; frame < 40 && !layer.isFinished(); ++frame) {
            layer.step();
            if (frame % 8 == 7) {
                Arbor::Graphics::Painter painter(surface);
                layer.draw(painter);
                for (double p : {10.0, 30.0, 60.0}) {
                    layer.pointerOver(p, p / 2);
                    layer.buttonDown(p, p / 2);
                    layer.buttonUp(p, p / 2);
                }
                layer.checkHover(std::nullopt);
            }
        }
        Arbor::Graphics::Painter painter(surface);
        layer.draw(painter);
    } catch (const Interpreter::ScriptException&) {
    }
    return 0;
}
