#pragma once
// The plugin's one control: stateless services called by dispatch id through
// Tovar::Interface. Each call builds what it needs and releases it before returning.

#include "tovarocx/TovarInterface.h"

#include <QObject>

namespace Tovar {

class Tovar : public QObject, public Interface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TovarInterface_iid FILE "tovarocx.json")
    Q_INTERFACES(Tovar::Interface)

public:
    // Throws Error for an unknown id, a wrong number of arguments, or the member's failure.
    QVariant invoke(int dispid, QVariantList &args) override;
};

} // namespace Tovar
