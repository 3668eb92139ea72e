#include "FuzzChecks.h"

#include "ContainerFileOnDisk.h"
#include "config/ConfigFile.h"

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
    // Saving again gives the fields as they were read; bytes behind the last field are the
    // only ones that may go.
    if (!ContainerBody(file.Image).startsWith(ContainerBody(rebuilt.Image)))
        return "saving what was parsed changes the fields";
    if (ParseConfigFile(rebuilt.Image) != contents)
        return "the saved image parses differently";
    return {};
}
