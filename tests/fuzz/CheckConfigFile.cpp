#include "FuzzChecks.h"

#include "ContainerFileOnDisk.h"
#include "config/ConfigFile.h"
#include "protocol/AnsiCodec.h"

namespace {

// Whether the six texts at the start of a body (each after its length byte) hold only what
// a field takes.
bool TextsAsFieldsTakeThem(const QByteArray& body) {
    constexpr int TextsInAFile = 6;
    qsizetype at = 0;
    for (int text = 0; text < TextsInAFile && at < body.size(); ++text) {
        const auto length = static_cast<quint8>(body[at++]);
        const QByteArray bytes = body.mid(at, length);
        if (FileTextForField(bytes) != FromAnsi(bytes))
            return false;
        at += length;
    }
    return true;
}

} // namespace

std::string CheckConfigFile(const QByteArray& input) {
    std::string problem;
    const ContainerFile file = ReadAsContainerFile(input, ConfigFileTag, problem);
    if (!problem.empty())
        return problem;

    // The parser is run on every image, not only on those that passed the checks.
    const std::optional<ConfigFileContents> contents = ParseConfigFile(file.Image);
    if (!contents)
        return {};
    const ConfigFileImage rebuilt = BuildConfigFile(contents->Password, contents->Record);
    if (rebuilt.Fault != RecordFault::None)
        return "what was parsed cannot be saved again";
    if (!CheckContainer(rebuilt.Image, ConfigFileTag).isEmpty())
        return "a saved image fails its own container check";
    // Saving again gives the fields as they were read; bytes behind the last field, and
    // what a text holds that a field does not take, are the only ones that may go.
    if (TextsAsFieldsTakeThem(ContainerBody(file.Image)) &&
        !ContainerBody(file.Image).startsWith(ContainerBody(rebuilt.Image)))
        return "saving what was parsed changes the fields";
    if (ParseConfigFile(rebuilt.Image) != contents)
        return "the saved image parses differently";
    return {};
}
