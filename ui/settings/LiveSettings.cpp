#include "ui/settings/LiveSettings.h"

#include "settings/output_order.h"
#include "settings/settings_keys.h"
#include "settings/setup_values.h"

namespace veskaron::ui {

MetaWriteOptions LiveSettings::WriterOptions() const {
    MetaWriteOptions options;
    options.placement = InsMeta();
    options.attributeOrder = InsContent();
    options.lineMode = CurrentSetupValues().InsertMetaText;
    const OutputOrder& order = CurrentOutputOrder();
    options.order = IsPermutation(order) ? order : DefaultOutputOrder();
    return options;
}

StoredLiveSettings::StoredLiveSettings() {
    KeyAccess access;
    const WriterSettings writer = ReadWriterSettings(access);
    modem_ = writer.ModemSpeed;
    insMeta_ = writer.InsMeta;
    insContent_ = writer.InsContent;
    minWord_ = Read(access, key::MinWord);
}

}  // namespace veskaron::ui
