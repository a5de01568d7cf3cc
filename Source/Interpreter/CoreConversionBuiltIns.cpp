// Conversion, rounding and random numbers: ToInt, ToNum, ToStr, ToBool, ToFixed,
// Round, Floor, Ceil, Rand.
#include <cmath>

#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "Source/Interpreter/NumberFormat.h"
#include "framework/Numeric/GlobalRandom.h"

namespace Quenta::Interpreter {

namespace {

Value* toIntBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* x = args.next();
    return parser.makeNum(x ? x->toInt() : 0);
}

Value* toNumBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* x = args.next();
    return parser.makeNum(x ? x->toNum() : 0.0);
}

Value* toStrBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* x = args.next();
    return parser.makeStr(x ? x->toStr() : std::u16string());
}

Value* toBoolBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* x = args.next();
    return parser.makeBool(x ? x->toBool() : false);
}

Value* toFixedBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* x = args.next();
    if (!x) {
        return parser.makeStr(u"");
    }
    const double number = x->toNum();
    Value* digits = args.next();
    return parser.makeStr(formatFixed(number, digits ? digits->toInt() : 6));
}

Value* roundBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* x = args.next();
    return parser.makeNum(x ? roundHalfAwayToInt32(x->toNum()) : 0);
}

Value* floorBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* x = args.next();
    return parser.makeNum(x ? floorToInt32(x->toNum()) : 0);
}

Value* ceilBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* x = args.next();
    return parser.makeNum(x ? ceilToInt32(x->toNum()) : 0);
}

Value* randBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* n = args.next();
    if (!n) {
        return parser.makeNum(0);
    }
    const double limit = std::floor(n->toNum());
    const double u = Arbor::Numeric::globalUniform();
    const double drawn = std::floor(u * limit);
    // floor(0 * -n) is -0; scripts should see a plain 0.
    return parser.makeNum(drawn == 0.0 ? 0.0 : drawn);
}

}  // namespace

void registerCoreConversionBuiltIns(BuiltInTable& table) {
    table.add(u"ToInt", &toIntBuiltIn);
    table.add(u"ToNum", &toNumBuiltIn);
    table.add(u"ToStr", &toStrBuiltIn);
    table.add(u"ToBool", &toBoolBuiltIn);
    table.add(u"ToFixed", &toFixedBuiltIn);
    table.add(u"Round", &roundBuiltIn);
    table.add(u"Floor", &floorBuiltIn);
    table.add(u"Ceil", &ceilBuiltIn);
    table.add(u"Rand", &randBuiltIn);
}

}  // namespace Quenta::Interpreter
