#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QThread>

#include <memory>

class IntakeQueue;

// The local command server of the running instance. Later starts of the
// program connect to 127.0.0.1 and hand over their document with one line:
//
//   server: 200 Welcome
//   client: open<TAB>"<path>"
//   server: 200 OK            (and closes the connection)
//
// Any other line is answered "400 Unknown Command" with the connection left
// open; a failure while serving is answered "500 Unknown Internal Error".
// Lines end with CR LF or LF alone.
//
// The sockets live on a thread of their own, so a hand-off never waits for a
// modal dialog of the user interface. That thread touches nothing but the
// intake queue, which guards itself.
class CommandServer : public QObject
{
    Q_OBJECT

public:
    static constexpr quint16 kDefaultPort = 9536;
    // A command line is a word and a path; anything this long is not one, and
    // a peer must not make the server keep an endless line in memory.
    static constexpr int kMaxLineLength = 64 * 1024;

    enum class Activation { Listening, AddressInUse, Failed };
    struct ActivationResult
    {
        Activation outcome = Activation::Failed;
        QString errorText; // the system's text when the outcome is not Listening
    };

    // What one received line asks for.
    struct Command
    {
        bool isOpen = false;
        QString path; // the parameter of "open" unquoted; empty when it had none
    };
    static Command ParseLine(const QByteArray& line);
    // The text of a quoted parameter: between the opening and the closing
    // quote, a doubled quote standing for one. Unquoted text is returned as is.
    static QString Unquote(const QString& parameter);

    explicit CommandServer(IntakeQueue& queue, quint16 port = kDefaultPort,
                           QObject* parent = nullptr);
    ~CommandServer() override;

    CommandServer(const CommandServer&) = delete;
    CommandServer& operator=(const CommandServer&) = delete;

    // Starts listening on 127.0.0.1 at the port. Returns when the server
    // listens or has failed.
    ActivationResult Activate();
    // Stops listening and drops every open connection.
    void Deactivate();
    bool isActive() const;
    quint16 port() const { return m_port; }

private:
    class Worker;

    const quint16 m_port;
    QThread m_thread;
    // Lives on m_thread; deleted after the thread has ended.
    std::unique_ptr<Worker> m_worker;
    bool m_active = false;
};
