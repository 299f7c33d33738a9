#pragma once

#include "CommandLine.h"
#include "PublishTarget.h"

#include <QString>

#include <optional>
#include <vector>

// --publish with its --mqtt-user and --mqtt-password-file, as log and test
// take them. The password is read from a file, never from the command line.
class PublishOptions {
public:
    static const QString Publish;
    static const QString MqttUser;
    static const QString MqttPasswordFile;

    // A command's own options and these three, for CommandLine::Parse.
    static std::vector<CommandLine::Option> With(std::vector<CommandLine::Option> options);

    // The target --publish names, with its user and password; nothing when
    // --publish is not given (`error` stays empty) or is refused (`error`
    // says why).
    static std::optional<PublishTarget> Target(const CommandLine& line, QString& error);
};
