#include "toolbar/CToolBandFactory.h"

#include "toolbar/CBandStripApp.h"
#include "toolbar/CToolBand.h"

platform::HRESULT CToolBandFactory::CreateInstance(std::unique_ptr<CToolBand>& band) {
    band = std::make_unique<CToolBand>();
    return platform::S_OK;
}

platform::HRESULT CToolBandFactory::LockServer(bool lock) {
    if (lock) {
        CBandStripApp::Instance().Lock();
    } else {
        CBandStripApp::Instance().Unlock();
    }
    return platform::S_OK;
}
