#include <optional>

#include "birthday/birthday_list.h"
#include "birthday/calendar_date.h"
#include "birthday/notice_text.h"
#include "birthday/operations.h"
#include "host/chat_and_popup.h"
#include "host/host_control.h"
#include "host/host_link.h"
#include "host/tables.h"
#include "host/ui_records.h"

namespace vemora {

namespace {

const char* displayName(int32_t row) { return getContactString(row, CNT_DISPLAY_NAME, TEXT_READ_VALUE); }

// The code decides; without a usable code, the display name (read afresh).
Gender contactGender(int32_t row) {
    if (const std::optional<Gender> stated = genderFromCode(getContactInt(row, CNT_GENDER_CODE))) return *stated;
    return genderFromName(displayName(row));
}

void showInPopup(const char* text) {
    NotifyPopupRecord record(text, ICON_BIRTHDAYS, 0, POPUP_TIMEOUT_INITIAL);
    const int32_t hide = getConfigInt(CFG_NOTIFY_HIDE);
    if (hide == NOTIFY_HIDE_AFTER_A_FEW_SECONDS) {
        record.timeout = POPUP_TIMEOUT_FEW_SECONDS;
    } else if (hide == NOTIFY_HIDE_ON_CLICK) {
        record.timeout = POPUP_TIMEOUT_ON_CLICK;
    }
    sendMessage(&record.header);
}

void showInInfoBox(const char* text) { sendCoreRequest(REQ_INFO_BOX, toWord(text), 0); }

}  // namespace

void showBirthdayNotice(int32_t mode) {
    const int32_t found = collectTodaysBirthdays();
    // A copy: the host may call in again during the requests below (a modal
    // box pumps the user's clicks) and rebuild the list; this notice stays
    // with the list it built.
    const BirthdayList list = birthdayList();

    NoticeText notice(mode == NOTICE_POPUP);
    int32_t lastRow = 0;
    std::optional<Gender> lastGender;
    // The list always holds its terminating 0 within its slots (a rebuild
    // lists at most one row fewer than it has slots), so the 0 ends the walk.
    for (int slot = 0; list.rows[slot] != 0; ++slot) {
        const int32_t row = list.rows[slot];
        const int32_t age = ageReachedIn(getContactInt(row, CNT_BIRTH_DATE), list.year);
        lastRow = row;
        lastGender.reset();
        if (age == 0) {
            // Born this year: the name alone, and CNT_AGE keeps what it held.
            notice.addContact(displayName(row));
            continue;
        }
        setContactInt(row, CNT_AGE, age);
        notice.addContact(displayName(row));
        lastGender = contactGender(row);
        notice.addAge(*lastGender, age);
    }
    // A lone contact born this year had no verb, so its gender is still open;
    // it is found by the same rules so the closing line can address them.
    if (notice.contacts() == 1 && !lastGender) lastGender = contactGender(lastRow);
    notice.close(lastGender);

    // A notice that memory did not suffice for is not shown at all, rather
    // than cut short; the ages above are written all the same.
    if (found > 0 && !notice.text().failed()) {
        if (mode == NOTICE_POPUP) {
            showInPopup(notice.text().c_str());
        } else if (mode == NOTICE_INFO_BOX) {
            showInInfoBox(notice.text().c_str());
        }
    }
}

}  // namespace vemora
