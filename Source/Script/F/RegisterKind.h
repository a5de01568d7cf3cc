#pragma once
// The thirteen register kinds of a character definition, the field table of each and
// the section kinds of a block. Field positions are part of the data format: records
// keep one token line per field in this order, and scene code reads them through the
// index names below (or better, through the typed views of RecordViews.h).
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Quenta::Script {

enum class RegisterKind : int {
    Initial = 0,
    Final = 1,
    Order = 2,
    Motion = 3,
    ImageLayer = 4,
    HitArea = 5,
    HitEvent = 6,
    ConditionEvent = 7,
    BalloonOrder = 8,
    BalloonMotion = 9,
    BalloonImageLayer = 10,
    TextLayer = 11,
    TextStyle = 12,
};

inline constexpr int kRegisterKindCount = 13;

// "INITIAL_REG" ... "TEXT_STYLE_REG"; empty for an index out of range.
std::u16string_view registerName(int registerIndex);
inline std::u16string_view registerName(RegisterKind kind) { return registerName(static_cast<int>(kind)); }

// The register whose name `text` starts with, trying the kinds in register order;
// -1 when none does.
int registerPrefixOf(std::u16string_view text);

// The field table of a register kind: index 0 is the register name, 1 FuncName.
// Empty for an index out of range.
const std::vector<std::u16string>& fieldNames(int registerIndex);
inline const std::vector<std::u16string>& fieldNames(RegisterKind kind) { return fieldNames(static_cast<int>(kind)); }

// The position of a field name in the kind's table, or -1.
int fieldIndex(int registerIndex, std::u16string_view fieldName);

// Section kinds of a block; the numbers are stored in built records.
enum class SectionKind : int { Config = 0, Param = 1, Text = 2, CodeInit = 3, CodeLoop = 4, Invalid = 5 };
inline constexpr int kSectionKindCount = 5;  // Invalid excluded

// "Config", "Param", "Text", "CodeInit", "CodeLoop", "Invalid".
std::u16string_view sectionKindName(SectionKind kind);

// Named constants visible while certain fields are evaluated.
using NamedConstants = std::vector<std::pair<std::u16string_view, int>>;
const NamedConstants& flipConstants();           // NONE H V HV
const NamedConstants& areaTypeConstants();       // RECT OUT_RECT
const NamedConstants& callTypeConstants();       // NORMAL WAIT FORCE
const NamedConstants& hitTypeConstants();        // HIT_CHARA ... BOX_BOTTOM
const NamedConstants& dragDropStateConstants();  // NONE DRAG DROP
const NamedConstants& dockingStateConstants();   // NONE DOCKING PURGE
const NamedConstants& intervalTypeConstants();   // EVERY_FRAME ... ONLY_ONCE

// The constants available to one field, or null when it has none.
const NamedConstants* constantsOf(int registerIndex, int fieldIndex);

// Field positions per kind. The kind marker is always 0 and FuncName always 1.
namespace Field {
inline constexpr int kKindMarker = 0;
inline constexpr int kFuncName = 1;
}  // namespace Field

namespace InitialField {
enum : int {
    FuncName = 1, GroupID, ObjectID, AppName, ObjectName, Version, Copyright, Url, DlgImageName,
    DlgImagePosX, DlgImagePosY, SoundNameLButton, SoundNameRButton, CursorNameNormal,
    CursorNameDisabled, PosX, PosY, FuncListStart, FuncListExit, FuncListShow, FuncListHide,
    DebugMode, Count
};
}

namespace OrderField {
enum : int {
    FuncName = 1, FuncNameMotion, FuncNameImageLayer, CallBalloonList, SoundNameBgm, SoundLoop,
    SoundNameLButton, SoundNameRButton, CursorName, PosX, PosY, BasePosX, BasePosY, Flip,
    FuncListExit, FuncListHide, FuncListRegion, ListHitArea, ListHitEvent, ListConditionEvent,
    FlagHideFunc, FlagDrop, Count
};
}

// MOTION_REG and BALLOON_MOTION_REG.
namespace MotionField {
enum : int { FuncName = 1, ImageName, Width, Height, Flip, Count };
}

// IMAGE_LAYER_REG and BALLOON_IMAGE_LAYER_REG.
namespace ImageLayerField {
enum : int { FuncName = 1, ImageName, Width, Height, PosX, PosY, Flip, Count };
}

namespace HitAreaField {
enum : int { FuncName = 1, AreaType, Width, Height, PosX, PosY, FlagAutoFlip, Count };
}

namespace HitEventField {
enum : int {
    FuncName = 1, HitType, SoundName, EnteredCursorName, TargetID, TargetHitArea, MyHitArea,
    Condition, FuncListEvent, PopupMenuName, DragDropState, DockingState, OnEvent, Count
};
}

namespace ConditionEventField {
enum : int { FuncName = 1, IntervalType, SoundName, Condition, FuncListEvent, OnEvent, Count };
}

namespace BalloonOrderField {
enum : int {
    FuncName = 1, BalloonName, CallType, FuncNameMotion, FuncNameImageLayer, FuncNameTextLayer,
    SoundNameBgm, SoundLoop, PosX, PosY, BasePosX, BasePosY, PopupPosX, PopupPosY, Flip,
    FlagFollowChara, FuncNameTextStyle, TextAreaWidth, TextAreaHeight, TextAreaPosX, TextAreaPosY,
    NextBalloonList, Count
};
}

namespace TextLayerField {
enum : int { FuncName = 1, FuncNameTextStyle, Width, Height, PosX, PosY, Count };
}

namespace TextStyleField {
enum : int { FuncName = 1, FontName, FontSize, FontQuality, FontColor, Speed, TextDirection, FlagUnderline, Count };
}

}  // namespace Quenta::Script
