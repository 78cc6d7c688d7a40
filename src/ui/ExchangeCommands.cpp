#include "ExchangeCommands.h"

#include "ExchangeHost.h"
#include "MainFrame.h"
#include "ParameterTable.h"
#include "Receive.h"
#include "Transmit.h"
#include "frmbar.h"

#include <memory>

namespace kap {
namespace {

const char* const kHostName = "exchangeHost";

// The window seen through the interface the exchange procedures take. A child of the
// window, so it goes with it; it owns the progress dialog, which has no parent of its own.
class WindowExchangeHost : public QObject, public ExchangeHost {
public:
    explicit WindowExchangeHost(MainFrame& window)
        : QObject(&window), window_(window), bar_(std::make_unique<frmbar>())
    {
        setObjectName(QLatin1String(kHostName));
        window_.progressDialog = bar_.get();
    }

    Family family() const override { return window_.family(); }
    WindowSide& side() override { return window_; }
    Link& link() override { return window_.link(); }
    Grid& table() override { return *window_.Grid1; }
    ParameterTable& parameters() override { return window_.parameters(); }
    Progress& progress() override { return *bar_; }
    void setBulkFill(bool on) override { window_.bulkFillFlag = on; }
    void setAngleCheckHold(bool on) override { window_.angleCheckHold = on; }
    void refreshQuickBoxes() override { window_.refreshQuickBoxes(); }
    void showOriginShift(const QString& hundredths) override { window_.showOriginShift(hundredths); }

    frmbar& bar() { return *bar_; }
    bool commandsInstalled = false;

private:
    MainFrame& window_;
    std::unique_ptr<frmbar> bar_;
};

WindowExchangeHost& hostOf(MainFrame& window)
{
    auto* host = window.findChild<WindowExchangeHost*>(QLatin1String(kHostName),
                                                       Qt::FindDirectChildrenOnly);
    return host ? *host : *new WindowExchangeHost(window);
}

}  // namespace

ExchangeHost& exchangeHostOf(MainFrame& window)
{
    return hostOf(window);
}

frmbar& progressDialogOf(MainFrame& window)
{
    return hostOf(window).bar();
}

void installExchangeCommands(MainFrame& window)
{
    WindowExchangeHost& host = hostOf(window);
    if (host.commandsInstalled)
        return;
    host.commandsInstalled = true;
    QObject::connect(&window, &MainFrame::commandRequested, &host, [&host](const QString& name) {
        if (name == QLatin1String("mnuToolsRecP"))
            exchange::ReceiveTable(host);
        else if (name == QLatin1String("mnuToolsRecA"))
            exchange::ReceiveParameters(host);
        else if (name == QLatin1String("mnuToolsTranP"))
            exchange::TransmitTable(host);
        else if (name == QLatin1String("mnuToolsTranA"))
            exchange::TransmitParameters(host);
    });
}

bool runStartupReading(MainFrame& window)
{
    return exchange::StartupReading(hostOf(window)) == exchange::Result::Done;
}

}  // namespace kap
