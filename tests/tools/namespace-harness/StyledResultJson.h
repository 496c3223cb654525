// The command line's JSON as a script reads it from either build: styled,
// three blanks a level, members in key order, between the run's opening
// empty line and the closing one.
#ifndef ZARVEX_STYLED_RESULT_JSON_H
#define ZARVEX_STYLED_RESULT_JSON_H

#include <json/json.h>

#include <string>
#include <vector>

namespace styled_json {

// One send's result as the object lists it.
struct Outcome {
    int code;
    const char *com;
    const char *message;
    const char *number;
};

// A fixed object: an argument, port or number error, or a count error.
inline std::string FixedObject(int code, const char *message)
{
    return "\n{\n   \"code\" : " + std::to_string(code) + ",\n   \"message\" : \"" + message
           + "\",\n   \"result\" : []\n}\n\n";
}

// The result object; each result's time is taken from what was printed.
inline std::string ResultObject(const std::vector<Outcome> &outcomes, const Json::Value &printed)
{
    std::string text = "\n{\n   \"code\" : 0,\n   \"message\" : \"param is ok\",\n   \"result\" : [\n";
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const Outcome &o = outcomes[i];
        text += "      {\n         \"code\" : " + std::to_string(o.code) + ",\n         \"com\" : \"" + o.com
                + "\",\n         \"message\" : \"" + o.message + "\",\n         \"number\" : \"" + o.number
                + "\",\n         \"time\" : \""
                + printed["result"][static_cast<Json::ArrayIndex>(i)]["time"].asString() + "\"\n      }"
                + (i + 1 < outcomes.size() ? ",\n" : "\n");
    }
    return text + "   ]\n}\n\n";
}

}  // namespace styled_json

#endif
