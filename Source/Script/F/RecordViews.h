#pragma once
// Typed views of register records: each read evaluates the record's fields with the
// given Parser (in whatever scope the caller has made current) and converts them, so
// scene code names fields instead of indexing them. Fields whose conversion belongs to
// the object that uses them are handed over as their token lines (they live as long
// as the definition data); evaluate them with the helpers at the end of this file.
//
// Every read resets the parser's temporaries and changes its current line; code that
// reads a record in the middle of a statement saves the position (ParserPositionSaver).
#include <string>
#include <vector>

#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/Token.h"
#include "Source/Script/F/DefinitionRecord.h"
#include "Source/Script/F/RecordEvaluation.h"

namespace Quenta::Script {

using FieldLine = const Interpreter::TokenLine*;

struct InitialRecordView {
    std::u16string funcName;
    std::u16string groupId;
    std::u16string objectId;  // "#OBJ_ID#" + character number when the field is empty
    std::u16string appName;
    std::u16string objectName;
    std::u16string version;
    std::u16string copyright;
    std::u16string url;
    std::u16string dlgImageName;
    int dlgImagePosX = 0;
    int dlgImagePosY = 0;
    std::u16string soundNameLButton;
    std::u16string soundNameRButton;
    std::u16string cursorNameNormal;
    std::u16string cursorNameDisabled;
    double posX = 0.0;
    double posY = 0.0;
    FieldLine funcListStart = nullptr;
    FieldLine funcListExit = nullptr;
    FieldLine funcListShow = nullptr;
    FieldLine funcListHide = nullptr;
    bool debugMode = false;
};
InitialRecordView readInitialRecord(Interpreter::Parser& parser, const DefinitionRecord& record, int characterNumber);

struct OrderRecordView {
    std::u16string funcName;
    std::u16string funcNameMotion;
    std::vector<std::u16string> funcNameImageLayer;
    FieldLine callBalloonList = nullptr;  // a weighted pick, drawn anew at each call
    std::u16string soundNameBgm;
    int soundLoop = 0;
    std::u16string soundNameLButton;
    std::u16string soundNameRButton;
    std::u16string cursorName;
    double posX = 0.0;
    double posY = 0.0;
    double basePosX = 0.0;
    double basePosY = 0.0;
    int flip = 0;
    FieldLine funcListExit = nullptr;
    FieldLine funcListHide = nullptr;
    FieldLine funcListRegion = nullptr;
    std::vector<std::u16string> listHitArea;
    std::vector<std::u16string> listHitEvent;
    std::vector<std::u16string> listConditionEvent;
    FieldLine flagHideFunc = nullptr;
    bool flagDrop = false;
};
OrderRecordView readOrderRecord(Interpreter::Parser& parser, const DefinitionRecord& record);

// Flip bits: 1 horizontal, 2 vertical.
inline constexpr int kFlipHorizontal = 1;
inline constexpr int kFlipVertical = 2;

// MOTION_REG and BALLOON_MOTION_REG. A negative Width or Height is stored as its
// magnitude with the matching flip bit set.
struct MotionRecordView {
    std::u16string funcName;
    std::u16string imageName;
    int width = 0;
    int height = 0;
    int flip = 0;
};
MotionRecordView readMotionRecord(Interpreter::Parser& parser, const DefinitionRecord& record);

// IMAGE_LAYER_REG and BALLOON_IMAGE_LAYER_REG; Width, Height and Flip as for motions.
struct ImageLayerRecordView {
    std::u16string funcName;
    std::u16string imageName;
    int width = 0;
    int height = 0;
    double posX = 0.0;
    double posY = 0.0;
    int flip = 0;
};
ImageLayerRecordView readImageLayerRecord(Interpreter::Parser& parser, const DefinitionRecord& record);

// The frame rows of a motion or image layer (its Param section).
std::vector<FrameParameters> readFrames(Interpreter::Parser& parser, const DefinitionRecord& record);

// Width and Height are stored as "Width" and "Height" in the scope current during the
// read, after they are read, so that PosX and PosY may use them.
struct HitAreaRecordView {
    std::u16string funcName;
    int areaType = 0;
    int width = 0;
    int height = 0;
    int posX = 0;
    int posY = 0;
    bool flagAutoFlip = false;
};
HitAreaRecordView readHitAreaRecord(Interpreter::Parser& parser, const DefinitionRecord& record);

struct HitEventRecordView {
    std::u16string funcName;
    int hitType = 0;
    std::u16string soundName;
    std::u16string enteredCursorName;
    std::vector<std::u16string> targetId;
    std::vector<std::u16string> targetHitArea;
    std::vector<std::u16string> myHitArea;
    FieldLine condition = nullptr;  // evaluated at every test (evaluateCondition)
    FieldLine funcListEvent = nullptr;
    std::u16string popupMenuName;
    int dragDropState = 0;
    int dockingState = 0;
    FieldLine onEvent = nullptr;
};
HitEventRecordView readHitEventRecord(Interpreter::Parser& parser, const DefinitionRecord& record);

struct ConditionEventRecordView {
    std::u16string funcName;
    int intervalType = 0;
    std::u16string soundName;
    FieldLine condition = nullptr;
    FieldLine funcListEvent = nullptr;
    FieldLine onEvent = nullptr;
};
ConditionEventRecordView readConditionEventRecord(Interpreter::Parser& parser, const DefinitionRecord& record);

struct BalloonOrderRecordView {
    std::u16string funcName;
    std::u16string balloonName;
    int callType = 0;
    std::u16string funcNameMotion;
    std::vector<std::u16string> funcNameImageLayer;
    std::vector<std::u16string> funcNameTextLayer;
    std::u16string soundNameBgm;
    FieldLine soundLoop = nullptr;
    FieldLine posX = nullptr;
    FieldLine posY = nullptr;
    FieldLine basePosX = nullptr;
    double basePosY = 0.0;
    FieldLine popupPosX = nullptr;
    FieldLine popupPosY = nullptr;
    FieldLine flip = nullptr;  // evaluate with evaluateFlip
    bool flagFollowChara = false;
    FieldLine funcNameTextStyle = nullptr;
    FieldLine textAreaWidth = nullptr;
    FieldLine textAreaHeight = nullptr;
    FieldLine textAreaPosX = nullptr;
    FieldLine textAreaPosY = nullptr;
    FieldLine nextBalloonList = nullptr;
};
BalloonOrderRecordView readBalloonOrderRecord(Interpreter::Parser& parser, const DefinitionRecord& record);

struct TextLayerRecordView {
    std::u16string funcName;
    FieldLine funcNameTextStyle = nullptr;
    FieldLine width = nullptr;
    FieldLine height = nullptr;
    FieldLine posX = nullptr;
    FieldLine posY = nullptr;
};
TextLayerRecordView readTextLayerRecord(const DefinitionRecord& record);

struct TextStyleRecordView {
    std::u16string funcName;
    FieldLine fontName = nullptr;
    FieldLine fontSize = nullptr;
    FieldLine fontQuality = nullptr;
    FieldLine fontColor = nullptr;
    FieldLine speed = nullptr;
    FieldLine textDirection = nullptr;
    FieldLine flagUnderline = nullptr;
};
TextStyleRecordView readTextStyleRecord(const DefinitionRecord& record);

// Evaluating a handed-over field line (statement level, temporaries reset first).
std::u16string evaluateText(Interpreter::Parser& parser, const Interpreter::TokenLine& line);
int evaluateInt(Interpreter::Parser& parser, const Interpreter::TokenLine& line);
double evaluateNumber(Interpreter::Parser& parser, const Interpreter::TokenLine& line);
bool evaluateBool(Interpreter::Parser& parser, const Interpreter::TokenLine& line);
// An int with the Flip constants visible.
int evaluateFlip(Interpreter::Parser& parser, const Interpreter::TokenLine& line);
// A hit or condition event's Condition, as tested each time.
bool evaluateCondition(Interpreter::Parser& parser, const DefinitionRecord& record);

}  // namespace Quenta::Script
