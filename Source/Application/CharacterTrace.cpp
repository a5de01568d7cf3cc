#include "Source/Application/CharacterTrace.h"

#include <cmath>

#include "Source/GameComponent/BalloonManager.h"
#include "Source/GameComponent/BalloonObject.h"
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
        if (auto* balloons = dynamic_cast<GameComponent::BalloonManager*>(character.balloons())) {
            balloons->forEach([&](GameComponent::BalloonObject& balloon) {
                BalloonTraceRow b;
                b.name = balloon.name();
                if (balloon.order().hasOrder()) b.order = balloon.order().record().funcName;
                b.x = balloon.absoluteX();
                b.y = balloon.absoluteY();
                b.width = balloon.width();
                b.height = balloon.height();
                b.shown = balloon.isShown();
                b.open = balloon.openPercent();
                b.alpha = static_cast<int>(std::lround(balloon.alpha() * balloon.opacityPercent()));
                row.balloons.push_back(std::move(b));
            });
        }
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
    for (const BalloonTraceRow& b : row.balloons) {
        line += std::to_string(frame);
        line += '\t' + Arbor::Text::toUtf8(row.objectId) + '/' + Arbor::Text::toUtf8(b.name);
        line += '\t' + Arbor::Text::toUtf8(b.order);
        for (double v : {b.x, b.y, b.width, b.height}) line += '\t' + formatShortest(v);
        line += b.shown ? "\t1" : "\t0";
        line += '\t' + std::to_string(b.open) + '\t' + std::to_string(b.alpha) + '\n';
    }
    return line;
}

}  // namespace Quenta::Application
