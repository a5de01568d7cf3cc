#include "Source/Script/F/RecordViews.h"

#include <cstdlib>
#include <limits>
#include <string>

#include "Source/Interpreter/Evaluator.h"

namespace Quenta::Script {

using Interpreter::Parser;
using Interpreter::TokenLine;
using Interpreter::Value;

namespace {

// Field reads of one record, each with the field's named constants visible.
class FieldReader {
public:
    FieldReader(Parser& parser, const DefinitionRecord& record) : parser_(parser), record_(record) {}

    Value* value(int field) { return evaluateFieldWithConstants(parser_, record_, field); }
    std::u16string text(int field) { return value(field)->toStr(); }
    int integer(int field) { return value(field)->toInt(); }
    double number(int field) { return value(field)->toNum(); }
    bool boolean(int field) { return value(field)->toBool(); }
    std::vector<std::u16string> names(int field) { return evaluateNameList(parser_, record_.field(field)); }
    FieldLine line(int field) const { return &record_.field(field); }

private:
    Parser& parser_;
    const DefinitionRecord& record_;
};

// A negative extent means mirroring along that axis; the magnitude is the extent.
int takeExtent(int value, int flipBit, int& flip) {
    if (value >= 0) return value;
    flip |= flipBit;
    // The most negative int has no positive counterpart; keep the largest one.
    return value == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -value;
}

std::u16string decimal(int n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

InitialRecordView readInitialRecord(Parser& parser, const DefinitionRecord& record, int characterNumber) {
    using namespace InitialField;
    FieldReader f(parser, record);
    InitialRecordView v;
    v.funcName = f.text(FuncName);
    v.groupId = f.text(GroupID);
    v.objectId = f.text(ObjectID);
    if (v.objectId.empty()) v.objectId = u"#OBJ_ID#" + decimal(characterNumber);
    v.appName = f.text(AppName);
    v.objectName = f.text(ObjectName);
    v.version = f.text(Version);
    v.copyright = f.text(Copyright);
    v.url = f.text(Url);
    v.dlgImageName = f.text(DlgImageName);
    v.dlgImagePosX = f.integer(DlgImagePosX);
    v.dlgImagePosY = f.integer(DlgImagePosY);
    v.soundNameLButton = f.text(SoundNameLButton);
    v.soundNameRButton = f.text(SoundNameRButton);
    v.cursorNameNormal = f.text(CursorNameNormal);
    v.cursorNameDisabled = f.text(CursorNameDisabled);
    v.posX = f.number(PosX);
    v.posY = f.number(PosY);
    v.funcListStart = f.line(FuncListStart);
    v.funcListExit = f.line(FuncListExit);
    v.funcListShow = f.line(FuncListShow);
    v.funcListHide = f.line(FuncListHide);
    v.debugMode = f.boolean(DebugMode);
    return v;
}

OrderRecordView readOrderRecord(Parser& parser, const DefinitionRecord& record) {
    using namespace OrderField;
    FieldReader f(parser, record);
    OrderRecordView v;
    v.funcName = f.text(FuncName);
    v.funcNameMotion = f.text(FuncNameMotion);
    v.funcNameImageLayer = f.names(FuncNameImageLayer);
    v.callBalloonList = f.line(CallBalloonList);
    v.soundNameBgm = f.text(SoundNameBgm);
    v.soundLoop = f.integer(SoundLoop);
    v.soundNameLButton = f.text(SoundNameLButton);
    v.soundNameRButton = f.text(SoundNameRButton);
    v.cursorName = f.text(CursorName);
    v.posX = f.number(PosX);
    v.posY = f.number(PosY);
    v.basePosX = f.number(BasePosX);
    v.basePosY = f.number(BasePosY);
    v.flip = f.integer(Flip);
    v.funcListExit = f.line(FuncListExit);
    v.funcListHide = f.line(FuncListHide);
    v.funcListRegion = f.line(FuncListRegion);
    v.listHitArea = f.names(ListHitArea);
    v.listHitEvent = f.names(ListHitEvent);
    v.listConditionEvent = f.names(ListConditionEvent);
    v.flagHideFunc = f.line(FlagHideFunc);
    v.flagDrop = f.boolean(FlagDrop);
    return v;
}

MotionRecordView readMotionRecord(Parser& parser, const DefinitionRecord& record) {
    using namespace MotionField;
    FieldReader f(parser, record);
    MotionRecordView v;
    v.funcName = f.text(FuncName);
    v.imageName = f.text(ImageName);
    const int width = f.integer(Width);
    const int height = f.integer(Height);
    v.flip = f.integer(Flip);
    v.width = takeExtent(width, kFlipHorizontal, v.flip);
    v.height = takeExtent(height, kFlipVertical, v.flip);
    return v;
}

ImageLayerRecordView readImageLayerRecord(Parser& parser, const DefinitionRecord& record) {
    using namespace ImageLayerField;
    FieldReader f(parser, record);
    ImageLayerRecordView v;
    v.funcName = f.text(FuncName);
    v.imageName = f.text(ImageName);
    const int width = f.integer(Width);
    const int height = f.integer(Height);
    v.posX = f.number(PosX);
    v.posY = f.number(PosY);
    v.flip = f.integer(Flip);
    v.width = takeExtent(width, kFlipHorizontal, v.flip);
    v.height = takeExtent(height, kFlipVertical, v.flip);
    return v;
}

std::vector<FrameParameters> readFrames(Parser& parser, const DefinitionRecord& record) {
    std::vector<FrameParameters> frames;
    if (const auto* rows = record.section(SectionKind::Param)) {
        frames.reserve(rows->size());
        for (const TokenLine& row : *rows) frames.push_back(evaluateFrameLine(parser, row));
    }
    return frames;
}

HitAreaRecordView readHitAreaRecord(Parser& parser, const DefinitionRecord& record) {
    using namespace HitAreaField;
    FieldReader f(parser, record);
    HitAreaRecordView v;
    v.funcName = f.text(FuncName);
    v.areaType = f.integer(AreaType);
    v.width = f.integer(Width);
    v.height = f.integer(Height);
    if (Interpreter::ScopeNode* scope = parser.scope()) {
        scope->setNumber(u"Width", v.width);
        scope->setNumber(u"Height", v.height);
    }
    v.posX = f.integer(PosX);
    v.posY = f.integer(PosY);
    v.flagAutoFlip = f.boolean(FlagAutoFlip);
    return v;
}

HitEventRecordView readHitEventRecord(Parser& parser, const DefinitionRecord& record) {
    using namespace HitEventField;
    FieldReader f(parser, record);
    HitEventRecordView v;
    v.funcName = f.text(FuncName);
    v.hitType = f.integer(HitType);
    v.soundName = f.text(SoundName);
    v.enteredCursorName = f.text(EnteredCursorName);
    v.targetId = f.names(TargetID);
    v.targetHitArea = f.names(TargetHitArea);
    v.myHitArea = f.names(MyHitArea);
    v.condition = f.line(Condition);
    v.funcListEvent = f.line(FuncListEvent);
    v.popupMenuName = f.text(PopupMenuName);
    v.dragDropState = f.integer(DragDropState);
    v.dockingState = f.integer(DockingState);
    v.onEvent = f.line(OnEvent);
    return v;
}

ConditionEventRecordView readConditionEventRecord(Parser& parser, const DefinitionRecord& record) {
    using namespace ConditionEventField;
    FieldReader f(parser, record);
    ConditionEventRecordView v;
    v.funcName = f.text(FuncName);
    v.intervalType = f.integer(IntervalType);
    v.soundName = f.text(SoundName);
    v.condition = f.line(Condition);
    v.funcListEvent = f.line(FuncListEvent);
    v.onEvent = f.line(OnEvent);
    return v;
}

BalloonOrderRecordView readBalloonOrderRecord(Parser& parser, const DefinitionRecord& record) {
    using namespace BalloonOrderField;
    FieldReader f(parser, record);
    BalloonOrderRecordView v;
    v.funcName = f.text(FuncName);
    v.balloonName = f.text(BalloonName);
    v.callType = f.integer(CallType);
    v.funcNameMotion = f.text(FuncNameMotion);
    v.funcNameImageLayer = f.names(FuncNameImageLayer);
    v.funcNameTextLayer = f.names(FuncNameTextLayer);
    v.soundNameBgm = f.text(SoundNameBgm);
    v.soundLoop = f.line(SoundLoop);
    v.posX = f.line(PosX);
    v.posY = f.line(PosY);
    v.basePosX = f.line(BasePosX);
    v.basePosY = f.number(BasePosY);
    v.popupPosX = f.line(PopupPosX);
    v.popupPosY = f.line(PopupPosY);
    v.flip = f.line(Flip);
    v.flagFollowChara = f.boolean(FlagFollowChara);
    v.funcNameTextStyle = f.line(FuncNameTextStyle);
    v.textAreaWidth = f.line(TextAreaWidth);
    v.textAreaHeight = f.line(TextAreaHeight);
    v.textAreaPosX = f.line(TextAreaPosX);
    v.textAreaPosY = f.line(TextAreaPosY);
    v.nextBalloonList = f.line(NextBalloonList);
    return v;
}

TextLayerRecordView readTextLayerRecord(const DefinitionRecord& record) {
    using namespace TextLayerField;
    TextLayerRecordView v;
    v.funcName = record.funcName();
    v.funcNameTextStyle = &record.field(FuncNameTextStyle);
    v.width = &record.field(Width);
    v.height = &record.field(Height);
    v.posX = &record.field(PosX);
    v.posY = &record.field(PosY);
    return v;
}

TextStyleRecordView readTextStyleRecord(const DefinitionRecord& record) {
    using namespace TextStyleField;
    TextStyleRecordView v;
    v.funcName = record.funcName();
    v.fontName = &record.field(FontName);
    v.fontSize = &record.field(FontSize);
    v.fontQuality = &record.field(FontQuality);
    v.fontColor = &record.field(FontColor);
    v.speed = &record.field(Speed);
    v.textDirection = &record.field(TextDirection);
    v.flagUnderline = &record.field(FlagUnderline);
    return v;
}

namespace {
Value* evaluateLine(Parser& parser, const TokenLine& line) {
    parser.setLine(line);
    parser.resetTemporaries();
    return Interpreter::evaluate(parser, false);
}
}  // namespace

std::u16string evaluateText(Parser& parser, const TokenLine& line) { return evaluateLine(parser, line)->toStr(); }
int evaluateInt(Parser& parser, const TokenLine& line) { return evaluateLine(parser, line)->toInt(); }
double evaluateNumber(Parser& parser, const TokenLine& line) { return evaluateLine(parser, line)->toNum(); }
bool evaluateBool(Parser& parser, const TokenLine& line) { return evaluateLine(parser, line)->toBool(); }

int evaluateFlip(Parser& parser, const TokenLine& line) {
    ConstantScope scope(parser, &flipConstants());
    return evaluateLine(parser, line)->toInt();
}

bool evaluateCondition(Parser& parser, const DefinitionRecord& record) {
    const int field = record.kind() == RegisterKind::ConditionEvent ? static_cast<int>(ConditionEventField::Condition)
                                                                    : static_cast<int>(HitEventField::Condition);
    return evaluateField(parser, record, field)->toBool();
}

}  // namespace Quenta::Script
