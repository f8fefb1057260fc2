#include "model/model_defaults.h"

CModelDefaults& ModelDefaults()
{
    static CModelDefaults defaults;
    return defaults;
}
