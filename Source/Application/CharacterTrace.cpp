#include "Source/Application/CharacterTrace.h"

#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CharacterRegistry.h"
#include "Source/Interpreter/NumberText.h"
#include "framework/Text/Utf.h"

namespace Quenta::Application {

std::vector<CharacterTraceRow> characterTraceRows() {
    std::vector<CharacterTraceRow> rows;
    GameComponent::CharacterRegistry::instance().forEach([&](GameComponent::CharacterObject& character) {
        CharacterTraceRow row;
        row.objectId = character.objectId();
        row.order = character.currentOrderName();
        row.x = character.absoluteX();
        row.y = character.absoluteY();
        row.width = character.width();
        row.height = character.height();
        row.shown = character.isShown();
        row.life = static_cast<int>(character.lifeState());
        rows.push_back(std::move(row));
    });
    return rows;
}

std::string formatTraceLine(std::uint64_t frame, const CharacterTraceRow& row) {
    using Interpreter::formatShortest;
    std::string line = std::to_string(frame);
    line += '\t' + Arbor::Text::toUtf8(row.objectId);
    line += '\t' + Arbor::Text::toUtf8(row.order);
    for (double v : {row.x, row.y, row.width, row.height}) line += '\t' + formatShortest(v);
    line += row.shown ? "\t1" : "\t0";
    line += '\t' + std::to_string(row.life) + '\n';
    return line;
}

}  // namespace Quenta::Application
