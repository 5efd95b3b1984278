// Everything the host keeps about its tables and one plugin: the part that
// persists (tables and registered columns) and the part a plugin rebuilds at
// every start (UI elements, icons) or produces while it runs (messages).
#pragma once

#include "column_catalog.h"
#include "host_tables.h"
#include "outbox.h"
#include "ui_model.h"

namespace vemora::standin {

struct HostModel {
    HostTables tables;
    ColumnCatalog columns;
    UiModel ui;
    Outbox outbox;

    // What the state file keeps changed since it was read or written.
    bool changedSinceSaved() const { return tables.changedSinceSaved() || columns.changedSinceSaved(); }
    void markSaved() {
        tables.markSaved();
        columns.markSaved();
    }
};

}  // namespace vemora::standin
