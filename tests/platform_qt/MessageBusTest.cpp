#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QThread>
#include <gtest/gtest.h>

#include "platform/RegisteredMessages.h"
#include "platform/qt/BusMarshalling.h"
#include "platform/qt/MessageClient.h"
#include "platform/qt/MessageService.h"
#include "tests/platform_qt/QtTestSupport.h"

namespace koru {
namespace {

using test::WaitUntil;

// Records what reaches the program, and on which thread.
class RecordingSink : public IExternalMessageSink {
 public:
  std::int64_t OnExternalMessage(const ExternalMessage& message) override {
    received.push_back(message);
    onMainThread = onMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    return 1000 + std::int64_t(message.message.wParam);
  }
  std::vector<ExternalMessage> received;
  bool onMainThread = true;
};

// Listens to the Broadcast signal as another program would.
class BroadcastListener : public QObject {
  Q_OBJECT
 public slots:
  void OnBroadcast(const QString& name, qulonglong wParam, qlonglong lParam, const QByteArray& data) {
    heard.push_back({name.toStdString(), wParam, lParam, std::vector<std::uint8_t>(data.begin(), data.end())});
  }

 public:
  std::vector<BusMessage> heard;
};

// The program's service on the session bus, and a second connection that plays
// the other process.
class MessageBus : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::SessionBusAvailable()) GTEST_SKIP() << "needs a session bus (the test command starts one)";
    endpoint_ = {test::UniqueBusName("program"), std::string(kProgramObjectPath)};
    service_ = std::make_unique<MessageService>(QDBusConnection::sessionBus(), endpoint_, ProgramMessagePolicy());
    ASSERT_TRUE(service_->Publish());
    ASSERT_EQ(service_->ClaimName(), NameClaim::Owned);
    service_->SetSink(&sink_);
    other_ = std::make_unique<QDBusConnection>(
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QString::fromStdString(test::UniqueBusName("other"))));
    ASSERT_TRUE(other_->isConnected());
  }
  void TearDown() override {
    service_.reset();
    if (other_) QDBusConnection::disconnectFromBus(other_->name());
  }

  QDBusMessage Call(const char* member, const BusMessage& message) {
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromStdString(endpoint_.busName),
                                                       QString::fromStdString(endpoint_.objectPath),
                                                       QString::fromLatin1(kMessagesInterface.data()), member);
    AppendMessageArguments(call, message);
    return other_->call(call, QDBus::BlockWithGui, 30000);
  }

  BusEndpoint endpoint_;
  RecordingSink sink_;
  std::unique_ptr<MessageService> service_;
  std::unique_ptr<QDBusConnection> other_;
};

BusMessage CopyData(std::int64_t kind, std::size_t bytes) {
  BusMessage message{std::string(kCopyDataMessage), 0, kind, std::vector<std::uint8_t>(bytes)};
  for (std::size_t i = 0; i < bytes; ++i) message.data[i] = std::uint8_t(i * 7);
  return message;
}

struct RefusedCase {
  const char* what;
  BusMessage message;
  std::string_view error;
};

TEST_F(MessageBus, RefusedMessagesGetAnErrorAndNothingReachesTheProgram) {
  const std::vector<RefusedCase> cases = {
      {"unknown name", {"Game_Pause", 0, 3, {}}, kUnknownMessageError},
      {"our own broadcast", {std::string(kLightControlBroadcastMessage), 1, 1, {}}, kUnknownMessageError},
      {"hook messages stay in the process", {"WM_HOOK_KEY_SINGLEKEY_MSG", 0, 0, {}}, kUnknownMessageError},
      {"copy data of an unknown kind", CopyData(3, 4), kUnknownMessageError},
      {"copy data beyond the 2000-byte buffer", CopyData(1, 2001), kDataTooLargeError},
      {"copy data beyond the 6-byte buffer", CopyData(2, 7), kDataTooLargeError},
      {"bytes on a plain message", {std::string(kShowRequestMessage), 0, 1, {1}}, kDataTooLargeError},
  };
  for (const RefusedCase& refused : cases) {
    for (const char* member : {"Send", "Post"}) {
      const QDBusMessage reply = Call(member, refused.message);
      EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << refused.what << " " << member;
      EXPECT_EQ(reply.errorName().toStdString(), refused.error) << refused.what << " " << member;
    }
  }
  // Anything refused would have been queued before this one.
  ASSERT_EQ(Call("Send", {std::string(kGameEndMessage), 7, 8, {}}).type(), QDBusMessage::ReplyMessage);
  ASSERT_EQ(sink_.received.size(), 1u);
  EXPECT_EQ(sink_.received[0].message.name, kGameEndMessage);
}

TEST_F(MessageBus, MalformedCallsAreAnsweredWithAnError) {
  struct Malformed {
    const char* member;
    QList<QVariant> arguments;
    const char* error;
  };
  const Malformed cases[] = {
      {"Send", {QStringLiteral("Game_Start"), 1, 2}, kInvalidArgumentsError.data()},
      {"Post", {QStringLiteral("Game_Start"), qulonglong(1), qlonglong(2)}, kInvalidArgumentsError.data()},
      {"Deliver", {QStringLiteral("Game_Start"), qulonglong(1), qlonglong(2), QByteArray()},
       "org.freedesktop.DBus.Error.UnknownMethod"},
  };
  for (const Malformed& malformed : cases) {
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromStdString(endpoint_.busName),
                                                       QString::fromStdString(endpoint_.objectPath),
                                                       QString::fromLatin1(kMessagesInterface.data()), malformed.member);
    call.setArguments(malformed.arguments);
    const QDBusMessage reply = other_->call(call, QDBus::BlockWithGui, 30000);
    EXPECT_EQ(reply.errorName().toStdString(), malformed.error) << malformed.member;
  }
  ASSERT_EQ(Call("Send", {std::string(kGameEndMessage), 7, 8, {}}).type(), QDBusMessage::ReplyMessage);
  ASSERT_EQ(sink_.received.size(), 1u);
}

TEST_F(MessageBus, AcceptedMessagesReachTheSinkOnTheMainThreadWithTheirResult) {
  const BusMessage largest = CopyData(1, 2000);
  const QDBusMessage reply = Call("Send", largest);
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  EXPECT_EQ(reply.arguments().value(0).toLongLong(), 1000);
  ASSERT_EQ(Call("Post", {std::string(kLightControlRequestMessage), 1, 0, {}}).type(), QDBusMessage::ReplyMessage);
  ASSERT_TRUE(WaitUntil([&] { return sink_.received.size() == 2; }));

  const ExternalMessage& copy = sink_.received[0];
  EXPECT_EQ(copy.number, kCopyDataMessageNumber);
  EXPECT_EQ(copy.message.lParam, 1);
  EXPECT_EQ(copy.message.data, largest.data);
  EXPECT_FALSE(copy.posted);
  EXPECT_EQ(copy.sender, other_->baseService().toStdString());

  const ExternalMessage& request = sink_.received[1];
  EXPECT_EQ(request.number, RegisterWindowMessage(kLightControlRequestMessage));
  EXPECT_EQ(request.message.wParam, 1u);
  EXPECT_TRUE(request.posted);
  EXPECT_TRUE(sink_.onMainThread);
}

TEST_F(MessageBus, BroadcastsReachListeningPrograms) {
  BroadcastListener listener;
  ASSERT_TRUE(other_->connect(QString(), QString::fromStdString(endpoint_.objectPath),
                              QString::fromLatin1(kMessagesInterface.data()), "Broadcast", &listener,
                              SLOT(OnBroadcast(QString, qulonglong, qlonglong, QByteArray))));
  // The match rule must be in place before the signal goes out.
  ASSERT_EQ(Call("Send", {std::string(kGameKillMessage), 0, 0, {}}).type(), QDBusMessage::ReplyMessage);
  ASSERT_TRUE(service_->Broadcast({std::string(kLightControlBroadcastMessage), 1, 1, {}}));
  ASSERT_TRUE(WaitUntil([&] { return !listener.heard.empty(); }));
  EXPECT_EQ(listener.heard[0].name, kLightControlBroadcastMessage);
  EXPECT_EQ(listener.heard[0].wParam, 1u);
  EXPECT_EQ(listener.heard[0].lParam, 1);
}

TEST_F(MessageBus, ACompanionWindowIsReachedByClassAndTitleAndItsAbsenceIsNoError) {
  const std::string title = test::UniqueBusName("AUDIORECORD");
  BusCallOptions options;
  options.serveEventsWhileWaiting = true;
  options.timeoutMs = 30000;
  const BusMessage stop{std::string(kAudioCompanionMessage), 2, 0, {}};
  EXPECT_EQ(SendToWindow(QDBusConnection::sessionBus(), "KORU7315AudioRecord", title, stop, options), std::nullopt);

  RecordingSink companionSink;
  MessageService companion(*other_, CompanionEndpoint("KORU7315AudioRecord", title),
                           MessagePolicy({{std::string(kAudioCompanionMessage), std::nullopt, 0}}));
  ASSERT_TRUE(companion.Publish());
  ASSERT_EQ(companion.ClaimName(), NameClaim::Owned);
  companion.SetSink(&companionSink);
  EXPECT_EQ(SendToWindow(QDBusConnection::sessionBus(), "KORU7315AudioRecord", title, stop, options), 1002);
  // A window found by title alone is another window.
  EXPECT_EQ(SendToWindow(QDBusConnection::sessionBus(), "", title, stop, options), std::nullopt);
  ASSERT_EQ(companionSink.received.size(), 1u);
  EXPECT_EQ(companionSink.received[0].message.wParam, 2u);
}

TEST(BusNames, CompanionNamesAreValidBusNameElements) {
  EXPECT_EQ(CompanionEndpoint("KORU7315AudioRecord", "KORU7315AUDIORECORD").busName,
            "org.koru7315.Window.KORU7315AudioRecord.KORU7315AUDIORECORD");
  EXPECT_EQ(CompanionEndpoint("", "WorkTool").busName, "org.koru7315.Window.WorkTool");
  EXPECT_EQ(EscapeBusNameElement("7 Tool-\xE4"), "_37_20Tool_2D_E4");
  EXPECT_EQ(EscapeBusNameElement(""), "_");
}

}  // namespace
}  // namespace koru

#include "MessageBusTest.moc"
