#include "settings/icon_registration.h"

#include "host/host_link.h"
#include "host/request_ids.h"
#include "settings/icon_register_record.h"

namespace vemora {

uint32_t registerIcon(uint32_t type, uint32_t iconId, void* module, uint32_t resource, uint32_t options) {
    IconRegisterRecord record;
    record.iconId = iconId;
    record.type = type;
    record.module = toWord(module);
    record.resource = resource;
    record.options = options;
    sendCoreRequest(REQ_ICON_REGISTER, toWord(&record), 0);
    return iconId;
}

}  // namespace vemora
