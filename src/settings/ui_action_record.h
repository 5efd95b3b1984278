// The record of every UI add, status change and value read the plugin sends.
// An add fills the element's description; a status change or value read uses
// the same record with only the fields its fieldMask names.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/records.h"

namespace vemora {

// Which fields of the record a request carries.
inline constexpr uint32_t FIELDS_ADD = 0x35F;    // everything an add describes
inline constexpr uint32_t FIELDS_STATUS = 0x1;   // status and statusMask
inline constexpr uint32_t FIELDS_VALUE = 0x40;   // text and textSize: the value buffer

#pragma pack(push, 1)

struct UiActionRecord {
    uint16_t size;
    ActionRef action;       // the element: id, parent group, contact (-2 for none)
    uint32_t word14 = 0;    // -1 in an add, 0 otherwise
    uint32_t unused18 = 0;
    uint32_t word22 = 0;
    uint32_t unused26 = 0;
    uint32_t fieldMask = 0;
    uint32_t status = 0;      // the element's kind and state bits
    uint32_t statusMask = 0;  // which status bits the request changes
    uint32_t unused42 = 0;
    uint32_t word46 = 0;
    uint32_t text = 0;      // address of a code page 1250 text, or of the value buffer
    uint32_t textSize = 0;  // size of the value buffer
    uint32_t extraB = 0;
    uint32_t param = 0;     // bound column id, or the icon of a group or button
    uint32_t extraA = 0;
    uint16_t sizeA = 0;
    uint16_t sizeB = 0;

    // Every byte not set afterwards stays 0.
    explicit UiActionRecord(const ActionRef& action, uint16_t size = 74) : size(size), action(action) {}
};

// The extended form: the same element with two more size words, both 0 in every use.
struct UiActionRecordEx {
    UiActionRecord base;
    uint16_t sizeC = 0;
    uint16_t sizeD = 0;

    explicit UiActionRecordEx(const ActionRef& action) : base(action, 78) {}
};

#pragma pack(pop)

static_assert(sizeof(UiActionRecord) == 74);
static_assert(offsetof(UiActionRecord, size) == 0);
static_assert(offsetof(UiActionRecord, action) == 2);
static_assert(offsetof(UiActionRecord, word14) == 14);
static_assert(offsetof(UiActionRecord, unused18) == 18);
static_assert(offsetof(UiActionRecord, word22) == 22);
static_assert(offsetof(UiActionRecord, unused26) == 26);
static_assert(offsetof(UiActionRecord, fieldMask) == 30);
static_assert(offsetof(UiActionRecord, status) == 34);
static_assert(offsetof(UiActionRecord, statusMask) == 38);
static_assert(offsetof(UiActionRecord, unused42) == 42);
static_assert(offsetof(UiActionRecord, word46) == 46);
static_assert(offsetof(UiActionRecord, text) == 50);
static_assert(offsetof(UiActionRecord, textSize) == 54);
static_assert(offsetof(UiActionRecord, extraB) == 58);
static_assert(offsetof(UiActionRecord, param) == 62);
static_assert(offsetof(UiActionRecord, extraA) == 66);
static_assert(offsetof(UiActionRecord, sizeA) == 70);
static_assert(offsetof(UiActionRecord, sizeB) == 72);

static_assert(sizeof(UiActionRecordEx) == 78);
static_assert(offsetof(UiActionRecordEx, base) == 0);
static_assert(offsetof(UiActionRecordEx, sizeC) == 74);
static_assert(offsetof(UiActionRecordEx, sizeD) == 76);

}  // namespace vemora
