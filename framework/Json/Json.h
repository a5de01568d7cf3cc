#pragma once
// Everything of the JSON document model: values, payloads, references, reading and
// writing.
#include "framework/Json/ArrayData.h"
#include "framework/Json/ElementRef.h"
#include "framework/Json/JsonDocument.h"
#include "framework/Json/JsonValue.h"
#include "framework/Json/ObjectData.h"
#include "framework/Json/StringData.h"
