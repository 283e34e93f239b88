#include "app/ui/help.h"

#include "app/ui/ui_services.h"

namespace {
HelpHandler &handler()
{
    static HelpHandler h;
    return h;
}
} // namespace

void setHelpHandler(HelpHandler h) { handler() = std::move(h); }

void ShowHelpTopic(const QString &topic)
{
    const QString page = topic.isEmpty() ? QStringLiteral("Ressources/introduction.htm") : topic;
    if (handler()) {
        handler()(page);
        return;
    }
    reportHelpMissing();
}

void reportHelpMissing()
{
    ui().message(MsgType::Plain, MsgButtons::Ok,
                 QStringLiteral("HTML Help n'est pas installé sur cet ordinateur."));
}
