#include "model/platform_services.h"

CPlatformServices& PlatformServices()
{
    static CPlatformServices services;
    return services;
}
