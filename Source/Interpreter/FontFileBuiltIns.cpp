// LoadFontFile: registers a font file of the calling character for this process, so
// that text styles can name its face. True when the font is registered (now or
// before); false without a character, for an empty name, a refused extension, a
// missing file or data that is not a font.
#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "framework/Graphics/FontResource.h"

namespace Quenta::Interpreter {

namespace {

Value* loadFontFileBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto file = args.nextText();
    ScriptOwner* owner = parser.owner();
    Arbor::Secure::ResourceCache* cache = owner ? owner->resourceCache() : nullptr;
    return parser.makeBool(cache && file && Arbor::Graphics::loadFontFile(*cache, *file));
}

}  // namespace

void registerFontFileBuiltIns(BuiltInTable& table) { table.add(u"LoadFontFile", loadFontFileBuiltIn); }

}  // namespace Quenta::Interpreter
