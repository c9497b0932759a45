#include "tools/koructl/SimulatorClient.h"

#include <ostream>

#include "sim/SimulatorControl.h"
#include "tools/koructl/ToolCommands.h"

#ifdef KORU_HAVE_SESSION_BUS
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include "platform/qt/BusMarshalling.h"
#include "platform/qt/BusNames.h"
#endif

namespace koru::tool {

namespace {

#ifdef KORU_HAVE_SESSION_BUS
// The program may be busy with a device exchange on its event loop's thread;
// only a hung program comes near this.
constexpr int kCallTimeoutMs = 10000;

int SendToProgram(const std::string& text, std::ostream& out, std::ostream& err) {
    // QtDBus wants an application object for its connection thread.
    int argc = 1;
    char name[] = "koructl";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        err << "koructl: there is no session bus, so no running KORU7315 can be reached\n";
        return kExitNotRunning;
    }
    const BusEndpoint program = ProgramEndpoint();
    QDBusConnectionInterface* daemon = bus.interface();
    if (daemon && !daemon->isServiceRegistered(ToQString(program.busName)).value()) {
        err << "koructl: KORU7315 is not running (nobody owns " << program.busName << ")\n";
        return kExitNotRunning;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(ToQString(program.busName), ToQString(program.objectPath),
                                                       ToQString(kMessagesInterface), QStringLiteral("Send"));
    BusMessage message;
    message.name = std::string(sim::kSimulatorMessage);
    message.data.assign(text.begin(), text.end());
    AppendMessageArguments(call, message);
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);

    if (reply.type() != QDBusMessage::ReplyMessage) {
        const std::string error = reply.errorName().toStdString();
        if (error == kUnknownMessageError) {
            err << "koructl: KORU7315 runs without simulated devices (start it with --simulate LIST)\n";
            return kExitNotSimulating;
        }
        if (error == "org.freedesktop.DBus.Error.ServiceUnknown" ||
            error == "org.freedesktop.DBus.Error.NameHasNoOwner") {
            err << "koructl: KORU7315 is not running\n";
            return kExitNotRunning;
        }
        err << "koructl: KORU7315 did not answer: " << error << " " << reply.errorMessage().toStdString() << "\n";
        return kExitFailure;
    }
    if (reply.signature() != QLatin1String("x")) {
        err << "koructl: KORU7315 answered with an unexpected signature\n";
        return kExitFailure;
    }
    const qlonglong answer = reply.arguments().value(0).toLongLong();
    if (answer < 0) {
        err << "koructl: " << sim::SimulatorErrorText(answer) << "\n";
        return kExitUsage;
    }
    const std::optional<sim::SimulatorState> state = sim::SimulatorState::Decode(answer);
    if (!state) {
        err << "koructl: KORU7315 answered " << answer << ", which is not a state of the simulated devices\n";
        return kExitFailure;
    }
    out << state->Describe();
    return kExitOk;
}
#endif

}  // namespace

int RunSimulatorCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
    sim::SimulatorCommand command;
    std::string error;
    // Checked here too, so that a typing error gets its reason, not just a refusal.
    if (!sim::ParseSimulatorCommand(text, &command, &error)) {
        err << "koructl: sim: " << error << "\n";
        return kExitUsage;
    }
#ifdef KORU_HAVE_SESSION_BUS
    return SendToProgram(sim::FormatSimulatorCommand(command), out, err);
#else
    (void)out;
    err << "koructl: this build has no session bus support (built without the user interface)\n";
    return kExitNotRunning;
#endif
}

}  // namespace koru::tool
