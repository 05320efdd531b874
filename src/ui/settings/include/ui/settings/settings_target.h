#pragma once
// What the settings dialog reads and changes in the main window. The filter and the view font
// change at once, whatever the dialog's result; everything else is handed over only at OK.

#include <QFont>
#include <string>
#include <vector>

#include "settings/settings.h"

namespace luma::ui {

class SettingsTarget {
public:
    virtual ~SettingsTarget() = default;

    virtual const Settings& CurrentSettings() const = 0;
    // The tags of the current record's fields, in record order; none without an open file.
    virtual std::vector<std::string> CurrentRecordTags() const = 0;

    virtual void SetFilterFields(std::vector<std::string> fields) = 0;
    virtual void SetUseFilter(bool useFilter) = 0;
    // The record view's font as it is now.
    virtual QFont CurrentViewFont() const = 0;
    // Shown by the record view when the settings dialog closes, and stored at the next OK.
    virtual void SetViewFont(const QFont& font) = 0;
};

}  // namespace luma::ui
