#include "program/catalogue_app.h"

#include "exchange/exchange_menu.h"
#include "indexes/index_module.h"
#include "prefs/copy_window.h"
#include "prefs/preferences.h"
#include "reports/report_features.h"

namespace reel {

CatalogueApp::CatalogueApp(Platform& platform, std::string directory)
    : context_(platform, std::move(directory)) {
    title_ = std::make_unique<TitleScreen>(context_);
    info_ = std::make_unique<InfoScreen>(context_);
    main_ = std::make_unique<MainScreen>(context_);
    context_.title = title_.get();
    context_.info = info_.get();
    context_.main = main_.get();
    main_->install(std::make_unique<IndexModule>());
    main_->install(std::make_unique<CatalogueReports>());
    copy_ = std::make_unique<CopyWindow>(*main_);
    main_->install(std::make_unique<Preferences>(*copy_));
    main_->install(std::make_unique<exchange::ExchangeMenu>());
}

CatalogueApp::~CatalogueApp() = default;

std::vector<Form*> CatalogueApp::forms() {
    return {title_.get(), info_.get(), main_.get(), copy_.get()};
}

void CatalogueApp::start() {
    title_->show();
}

}  // namespace reel
