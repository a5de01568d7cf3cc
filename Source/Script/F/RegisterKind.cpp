#include "Source/Script/F/RegisterKind.h"

#include <array>

namespace Quenta::Script {

namespace {

constexpr std::array<std::u16string_view, kRegisterKindCount> kRegisterNames = {
    u"INITIAL_REG",       u"FINAL_REG",          u"ORDER_REG",
    u"MOTION_REG",        u"IMAGE_LAYER_REG",    u"HIT_AREA_REG",
    u"HIT_EVENT_REG",     u"CONDITION_EVENT_REG", u"BALLOON_ORDER_REG",
    u"BALLOON_MOTION_REG", u"BALLOON_IMAGE_LAYER_REG", u"TEXT_LAYER_REG",
    u"TEXT_STYLE_REG",
};

using Table = std::vector<std::u16string>;

Table withMarker(int kind, std::initializer_list<const char16_t*> rest) {
    Table table;
    table.emplace_back(kRegisterNames[static_cast<std::size_t>(kind)]);
    for (const char16_t* name : rest) table.emplace_back(name);
    return table;
}

const std::array<Table, kRegisterKindCount>& tables() {
    static const std::array<Table, kRegisterKindCount> all = [] {
        std::array<Table, kRegisterKindCount> t;
        t[0] = withMarker(0, {u"FuncName", u"GroupID", u"ObjectID", u"AppName", u"ObjectName", u"Version",
                              u"Copyright", u"Url", u"DlgImageName", u"DlgImagePosX", u"DlgImagePosY",
                              u"SoundNameLButton", u"SoundNameRButton", u"CursorNameNormal",
                              u"CursorNameDisabled", u"PosX", u"PosY", u"FuncListStart", u"FuncListExit",
                              u"FuncListShow", u"FuncListHide", u"DebugMode"});
        t[1] = withMarker(1, {u"FuncName"});
        t[2] = withMarker(2, {u"FuncName", u"FuncNameMotion", u"FuncNameImageLayer", u"CallBalloonList",
                              u"SoundNameBgm", u"SoundLoop", u"SoundNameLButton", u"SoundNameRButton",
                              u"CursorName", u"PosX", u"PosY", u"BasePosX", u"BasePosY", u"Flip",
                              u"FuncListExit", u"FuncListHide", u"FuncListRegion", u"ListHitArea",
                              u"ListHitEvent", u"ListConditionEvent", u"FlagHideFunc", u"FlagDrop"});
        const std::initializer_list<const char16_t*> motion = {u"FuncName", u"ImageName", u"Width", u"Height",
                                                               u"Flip"};
        const std::initializer_list<const char16_t*> layer = {u"FuncName", u"ImageName", u"Width", u"Height",
                                                              u"PosX",     u"PosY",      u"Flip"};
        t[3] = withMarker(3, motion);
        t[4] = withMarker(4, layer);
        t[5] = withMarker(5, {u"FuncName", u"AreaType", u"Width", u"Height", u"PosX", u"PosY", u"FlagAutoFlip"});
        t[6] = withMarker(6, {u"FuncName", u"HitType", u"SoundName", u"EnteredCursorName", u"TargetID",
                              u"TargetHitArea", u"MyHitArea", u"Condition", u"FuncListEvent", u"PopupMenuName",
                              u"DragDropState", u"DockingState", u"OnEvent"});
        t[7] = withMarker(7, {u"FuncName", u"IntervalType", u"SoundName", u"Condition", u"FuncListEvent",
                              u"OnEvent"});
        t[8] = withMarker(8, {u"FuncName", u"BalloonName", u"CallType", u"FuncNameMotion", u"FuncNameImageLayer",
                              u"FuncNameTextLayer", u"SoundNameBgm", u"SoundLoop", u"PosX", u"PosY",
                              u"BasePosX", u"BasePosY", u"PopupPosX", u"PopupPosY", u"Flip",
                              u"FlagFollowChara", u"FuncNameTextStyle", u"TextAreaWidth", u"TextAreaHeight",
                              u"TextAreaPosX", u"TextAreaPosY", u"NextBalloonList"});
        t[9] = withMarker(9, motion);
        t[10] = withMarker(10, layer);
        t[11] = withMarker(11, {u"FuncName", u"FuncNameTextStyle", u"Width", u"Height", u"PosX", u"PosY"});
        t[12] = withMarker(12, {u"FuncName", u"FontName", u"FontSize", u"FontQuality", u"FontColor", u"Speed",
                                u"TextDirection", u"FlagUnderline"});
        return t;
    }();
    return all;
}

bool validKind(int index) { return index >= 0 && index < kRegisterKindCount; }

}  // namespace

std::u16string_view registerName(int registerIndex) {
    return validKind(registerIndex) ? kRegisterNames[static_cast<std::size_t>(registerIndex)] : std::u16string_view();
}

int registerPrefixOf(std::u16string_view text) {
    for (int i = 0; i < kRegisterKindCount; ++i) {
        if (text.starts_with(kRegisterNames[static_cast<std::size_t>(i)])) return i;
    }
    return -1;
}

const std::vector<std::u16string>& fieldNames(int registerIndex) {
    static const std::vector<std::u16string> none;
    return validKind(registerIndex) ? tables()[static_cast<std::size_t>(registerIndex)] : none;
}

int fieldIndex(int registerIndex, std::u16string_view fieldName) {
    const auto& table = fieldNames(registerIndex);
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i] == fieldName) return static_cast<int>(i);
    }
    return -1;
}

std::u16string_view sectionKindName(SectionKind kind) {
    switch (kind) {
        case SectionKind::Config: return u"Config";
        case SectionKind::Param: return u"Param";
        case SectionKind::Text: return u"Text";
        case SectionKind::CodeInit: return u"CodeInit";
        case SectionKind::CodeLoop: return u"CodeLoop";
        case SectionKind::Invalid: break;
    }
    return u"Invalid";
}

const NamedConstants& flipConstants() {
    static const NamedConstants c = {{u"NONE", 0}, {u"H", 1}, {u"V", 2}, {u"HV", 3}};
    return c;
}
const NamedConstants& areaTypeConstants() {
    static const NamedConstants c = {{u"RECT", 0}, {u"OUT_RECT", 1}};
    return c;
}
const NamedConstants& callTypeConstants() {
    static const NamedConstants c = {{u"NORMAL", 0}, {u"WAIT", 1}, {u"FORCE", 2}};
    return c;
}
const NamedConstants& hitTypeConstants() {
    static const NamedConstants c = {{u"HIT_CHARA", 0},     {u"HIT_CURSOR", 1},    {u"STROKE_CURSOR", 2},
                                     {u"L_BUTTON_DOWN", 3}, {u"R_BUTTON_DOWN", 4}, {u"L_BUTTON_UP", 5},
                                     {u"R_BUTTON_UP", 6},   {u"BOX_LEFT", 7},      {u"BOX_TOP", 8},
                                     {u"BOX_RIGHT", 9},     {u"BOX_BOTTOM", 10}};
    return c;
}
const NamedConstants& dragDropStateConstants() {
    static const NamedConstants c = {{u"NONE", 0}, {u"DRAG", 1}, {u"DROP", 2}};
    return c;
}
const NamedConstants& dockingStateConstants() {
    static const NamedConstants c = {{u"NONE", 0}, {u"DOCKING", 1}, {u"PURGE", 2}};
    return c;
}
const NamedConstants& intervalTypeConstants() {
    static const NamedConstants c = {{u"EVERY_FRAME", 0}, {u"EVERY_SECOND", 1}, {u"EVERY_MINUTE", 2},
                                     {u"EVERY_HOUR", 3},  {u"ONLY_ONCE", 4}};
    return c;
}

const NamedConstants* constantsOf(int registerIndex, int field) {
    switch (static_cast<RegisterKind>(registerIndex)) {
        case RegisterKind::Order:
            return field == OrderField::Flip ? &flipConstants() : nullptr;
        case RegisterKind::Motion:
        case RegisterKind::BalloonMotion:
            return field == MotionField::Flip ? &flipConstants() : nullptr;
        case RegisterKind::ImageLayer:
        case RegisterKind::BalloonImageLayer:
            // A layer's Flip is evaluated like the order's.
            return field == ImageLayerField::Flip ? &flipConstants() : nullptr;
        case RegisterKind::BalloonOrder:
            if (field == BalloonOrderField::Flip) return &flipConstants();
            return field == BalloonOrderField::CallType ? &callTypeConstants() : nullptr;
        case RegisterKind::HitArea:
            return field == HitAreaField::AreaType ? &areaTypeConstants() : nullptr;
        case RegisterKind::HitEvent:
            if (field == HitEventField::HitType) return &hitTypeConstants();
            if (field == HitEventField::DragDropState) return &dragDropStateConstants();
            return field == HitEventField::DockingState ? &dockingStateConstants() : nullptr;
        case RegisterKind::ConditionEvent:
            return field == ConditionEventField::IntervalType ? &intervalTypeConstants() : nullptr;
        default:
            return nullptr;
    }
}

}  // namespace Quenta::Script
