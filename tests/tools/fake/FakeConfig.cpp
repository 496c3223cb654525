#include "FakeConfig.h"

#include <json/json.h>

#include <memory>
#include <set>

namespace {
struct ModelName { FakeModel model; const char *name; };
const ModelName kModelNames[] = {
    {FakeModel::Tarnel, "Tarnel"},         {FakeModel::VelkorNc5, "Velkor_NC5"},
    {FakeModel::VelkorMe, "Velkor_ME"},    {FakeModel::Pimsor, "Pimsor"},
    {FakeModel::Orvast, "Orvast"},         {FakeModel::Sudrel, "Sudrel"},
    {FakeModel::UnknownAti, "UnknownAti"}, {FakeModel::Silent, "Silent"},
    {FakeModel::OrvastWismoq, "Orvast_WISMOQ"}, {FakeModel::OrvastOther, "Orvast_Other"},
    {FakeModel::Siemens, "Siemens"},       {FakeModel::SudrelNoSerial, "Sudrel_NoSerial"},
};

struct BaudName { FakeBaud baud; const char *name; };
const BaudName kBaudNames[] = {
    {FakeBaud::Any, "any"}, {FakeBaud::Only9600, "9600"}, {FakeBaud::Only115200, "115200"}};

Json::Value MessageToJson(const StoredMessage &m)
{
    Json::Value v;
    v["store"] = m.store;
    v["index"] = m.index;
    v["stat"] = m.stat;
    if (!m.pdu.empty())
        v["pdu"] = m.pdu;
    v["sender"] = m.sender;
    v["time"] = m.time;
    v["text"] = m.text;
    v["coding"] = m.coding;
    if (m.concatRef >= 0) {
        v["concatRef"] = m.concatRef;
        v["concatTotal"] = m.concatTotal;
        v["concatSeq"] = m.concatSeq;
    }
    if (m.pduLineLost)
        v["pduLineLost"] = true;
    return v;
}

Json::Value PhonebookEntryToJson(const PhonebookEntry &e)
{
    Json::Value v;
    v["store"] = e.store;
    v["index"] = e.index;
    v["number"] = e.number;
    v["type"] = e.type;
    v["text"] = e.text;
    v["coding"] = e.coding;
    return v;
}

Json::Value PhonebookEntriesToJson(const std::vector<PhonebookEntry> &entries)
{
    Json::Value list(Json::arrayValue);
    for (const PhonebookEntry &e : entries)
        list.append(PhonebookEntryToJson(e));
    return list;
}

Json::Value FaultsToJson(const FakeFaults &f)
{
    Json::Value v(Json::objectValue);
    v["replyDelayMs"] = f.replyDelayMs;
    v["chunkBytes"] = f.chunkBytes;
    v["chunkGapMs"] = f.chunkGapMs;
    v["failSubmissions"] = f.failSubmissions;
    v["failCode"] = f.failCode;
    v["dropAfterCommands"] = f.dropAfterCommands;
    v["silentAfterCommands"] = f.silentAfterCommands;
    v["ignoresEchoOff"] = f.ignoresEchoOff;
    v["cdmaReportWithoutOk"] = f.cdmaReportWithoutOk;
    v["leftAtPrompt"] = f.leftAtPrompt;
    v["bodiesLeftOpen"] = f.bodiesLeftOpen;
    v["errorCommands"] = Json::Value(Json::arrayValue);
    for (const FakeCommandError &e : f.errorCommands) {
        Json::Value ev;
        ev["command"] = e.command;
        ev["reply"] = e.reply;
        v["errorCommands"].append(ev);
    }
    v["silentCommands"] = Json::Value(Json::arrayValue);
    for (const std::string &s : f.silentCommands)
        v["silentCommands"].append(s);
    v["replyFaults"] = Json::Value(Json::arrayValue);
    for (const FakeReplyFault &r : f.replyFaults) {
        Json::Value rv;
        rv["command"] = r.command;
        rv["reply"] = r.reply;
        rv["splitAt"] = r.splitAt;
        rv["splitBefore"] = r.splitBefore;
        rv["pauseMs"] = r.pauseMs;
        rv["insert"] = r.insert;
        rv["times"] = r.times;
        v["replyFaults"].append(rv);
    }
    v["floodText"] = f.floodText;
    v["floodAfterCommands"] = f.floodAfterCommands;
    v["floodGapMs"] = f.floodGapMs;
    return v;
}

// Reads an object's members into fields, refusing keys it does not know.
class Reader {
public:
    Reader(const Json::Value &v, const std::string &where, std::string *error)
        : m_v(v), m_where(where), m_error(error)
    {
        if (!v.isObject())
            Fail("is not an object");
    }
    bool Ok() const { return m_ok; }
    void Int(const char *key, int *out)
    {
        if (const Json::Value *v = Take(key)) {
            if (v->isInt())
                *out = v->asInt();
            else
                Fail(std::string(key) + " is not an integer");
        }
    }
    void Bool(const char *key, bool *out)
    {
        if (const Json::Value *v = Take(key)) {
            if (v->isBool())
                *out = v->asBool();
            else
                Fail(std::string(key) + " is not true or false");
        }
    }
    void String(const char *key, std::string *out)
    {
        if (const Json::Value *v = Take(key)) {
            if (v->isString())
                *out = v->asString();
            else
                Fail(std::string(key) + " is not a string");
        }
    }
    const Json::Value *Array(const char *key)
    {
        const Json::Value *v = Take(key);
        if (v && !v->isArray()) {
            Fail(std::string(key) + " is not a list");
            return nullptr;
        }
        return v;
    }
    const Json::Value *Object(const char *key) { return Take(key); }
    void Finish()
    {
        if (!m_v.isObject())
            return;
        for (const std::string &k : m_v.getMemberNames())
            if (!m_seen.count(k))
                Fail("unknown key \"" + k + "\"");
    }
    void Fail(const std::string &what)
    {
        if (m_ok && m_error)
            *m_error = m_where + ": " + what;
        m_ok = false;
    }

private:
    const Json::Value *Take(const char *key)
    {
        m_seen.insert(key);
        return m_v.isObject() && m_v.isMember(key) ? &m_v[key] : nullptr;
    }
    const Json::Value &m_v;
    std::string m_where;
    std::string *m_error;
    std::set<std::string> m_seen;
    bool m_ok = true;
};

bool ReadMessage(const Json::Value &v, const std::string &where, StoredMessage *m, std::string *error)
{
    Reader r(v, where, error);
    r.String("store", &m->store);
    r.Int("index", &m->index);
    r.Int("stat", &m->stat);
    r.String("pdu", &m->pdu);
    r.String("sender", &m->sender);
    r.String("time", &m->time);
    r.String("text", &m->text);
    r.String("coding", &m->coding);
    r.Int("concatRef", &m->concatRef);
    r.Int("concatTotal", &m->concatTotal);
    r.Int("concatSeq", &m->concatSeq);
    r.Bool("pduLineLost", &m->pduLineLost);
    r.Finish();
    if (r.Ok() && m->store != "SM" && m->store != "ME")
        r.Fail("store is neither SM nor ME");
    if (r.Ok() && (m->stat < 0 || m->stat > 3))
        r.Fail("stat is not 0 to 3");
    if (r.Ok() && m->coding != "ucs2" && m->coding != "7bit")
        r.Fail("coding is neither ucs2 nor 7bit");
    return r.Ok();
}

bool ReadPhonebookEntry(const Json::Value &v, const std::string &where, PhonebookEntry *e, std::string *error)
{
    Reader r(v, where, error);
    r.String("store", &e->store);
    r.Int("index", &e->index);
    r.String("number", &e->number);
    r.Int("type", &e->type);
    r.String("text", &e->text);
    r.Int("coding", &e->coding);
    r.Finish();
    if (r.Ok() && e->store != "SM" && e->store != "ME")
        r.Fail("store is neither SM nor ME");
    if (r.Ok() && (e->index < 1 || e->index > kFakePhonebookCapacity))
        r.Fail("index is not 1 to " + std::to_string(kFakePhonebookCapacity));
    if (r.Ok() && (e->type < 0 || e->type > 255))
        r.Fail("type is not 0 to 255");
    if (r.Ok() && e->coding != 0 && e->coding != 1)
        r.Fail("coding is neither 0 nor 1");
    if (r.Ok() && (e->number.size() > kFakePhonebookNumberMax || e->text.size() > kFakePhonebookTextMax))
        r.Fail("number or text longer than a location holds");
    return r.Ok();
}

bool ReadPhonebookEntries(const Json::Value *list, const std::string &where, std::vector<PhonebookEntry> *out,
                          std::string *error)
{
    out->clear();
    for (Json::ArrayIndex i = 0; list && i < list->size(); ++i) {
        PhonebookEntry e;
        const std::string at = where + "[" + std::to_string(i) + "]";
        if (!ReadPhonebookEntry((*list)[i], at, &e, error))
            return false;
        if (FindPhonebookEntry(*out, e.store, e.index)) {
            if (error)
                *error = at + ": location " + e.store + " " + std::to_string(e.index) + " given twice";
            return false;
        }
        out->push_back(e);
    }
    return true;
}

bool ReadFaults(const Json::Value &v, const std::string &where, FakeFaults *f, std::string *error)
{
    Reader r(v, where, error);
    r.Int("replyDelayMs", &f->replyDelayMs);
    r.Int("chunkBytes", &f->chunkBytes);
    r.Int("chunkGapMs", &f->chunkGapMs);
    r.Int("failSubmissions", &f->failSubmissions);
    r.Int("failCode", &f->failCode);
    r.Int("dropAfterCommands", &f->dropAfterCommands);
    r.Int("silentAfterCommands", &f->silentAfterCommands);
    r.Bool("ignoresEchoOff", &f->ignoresEchoOff);
    r.Bool("cdmaReportWithoutOk", &f->cdmaReportWithoutOk);
    r.Bool("leftAtPrompt", &f->leftAtPrompt);
    r.Int("bodiesLeftOpen", &f->bodiesLeftOpen);
    if (const Json::Value *list = r.Array("errorCommands"))
        for (Json::ArrayIndex i = 0; i < list->size() && r.Ok(); ++i) {
            FakeCommandError e;
            Reader er((*list)[i], where + ".errorCommands", error);
            er.String("command", &e.command);
            er.String("reply", &e.reply);
            er.Finish();
            if (!er.Ok())
                return false;
            f->errorCommands.push_back(e);
        }
    if (const Json::Value *list = r.Array("silentCommands"))
        for (const Json::Value &s : *list) {
            if (!s.isString())
                r.Fail("silentCommands holds a non-string");
            else
                f->silentCommands.push_back(s.asString());
        }
    if (const Json::Value *list = r.Array("replyFaults"))
        for (Json::ArrayIndex i = 0; i < list->size() && r.Ok(); ++i) {
            FakeReplyFault rf;
            Reader fr((*list)[i], where + ".replyFaults", error);
            fr.String("command", &rf.command);
            fr.String("reply", &rf.reply);
            fr.Int("splitAt", &rf.splitAt);
            fr.String("splitBefore", &rf.splitBefore);
            fr.Int("pauseMs", &rf.pauseMs);
            fr.String("insert", &rf.insert);
            fr.Int("times", &rf.times);
            fr.Finish();
            if (fr.Ok() && rf.command.empty())
                fr.Fail("a reply fault names no command");
            if (!fr.Ok())
                return false;
            f->replyFaults.push_back(rf);
        }
    r.String("floodText", &f->floodText);
    r.Int("floodAfterCommands", &f->floodAfterCommands);
    r.Int("floodGapMs", &f->floodGapMs);
    r.Finish();
    return r.Ok();
}

bool ReadConfig(const Json::Value &v, const std::string &where, FakeConfig *c, std::string *error)
{
    Reader r(v, where, error);
    std::string model = FakeModelName(c->model), baud = FakeBaudName(c->baud);
    r.String("model", &model);
    r.String("baud", &baud);
    if (r.Ok() && !FakeModelFromName(model, &c->model))
        r.Fail("unknown model \"" + model + "\"");
    if (r.Ok() && !FakeBaudFromName(baud, &c->baud))
        r.Fail("baud is not any, 9600 or 115200");
    r.Bool("echo", &c->echo);
    r.Bool("uartBridge", &c->uartBridge);
    r.String("imei", &c->imei);
    r.String("iccid", &c->iccid);
    r.String("csq", &c->csq);
    r.String("smsc", &c->smsc);
    r.String("productSerial", &c->productSerial);
    r.String("record", &c->record);
    r.String("phonebookFile", &c->phonebookFile);
    if (const Json::Value *f = r.Object("faults"))
        if (r.Ok() && !ReadFaults(*f, where + ".faults", &c->faults, error))
            return false;
    if (const Json::Value *list = r.Array("messages"))
        for (Json::ArrayIndex i = 0; i < list->size() && r.Ok(); ++i) {
            StoredMessage m;
            if (!ReadMessage((*list)[i], where + ".messages[" + std::to_string(i) + "]", &m, error))
                return false;
            c->messages.push_back(m);
        }
    if (const Json::Value *list = r.Array("phonebook"))
        if (r.Ok() && !ReadPhonebookEntries(list, where + ".phonebook", &c->phonebook, error))
            return false;
    r.Finish();
    return r.Ok();
}

bool ParseJson(const std::string &json, Json::Value *root, std::string *error)
{
    Json::CharReaderBuilder b;
    std::unique_ptr<Json::CharReader> reader(b.newCharReader());
    std::string parseErrors;
    if (reader->parse(json.data(), json.data() + json.size(), root, &parseErrors))
        return true;
    if (error)
        *error = "not JSON: " + parseErrors;
    return false;
}

std::string WriteJson(const Json::Value &root)
{
    Json::StreamWriterBuilder b;
    b["indentation"] = "  ";
    b["emitUTF8"] = true;
    return Json::writeString(b, root) + "\n";
}
}  // namespace

PhonebookEntry WmsnPhonebookEntry(const std::string &serial)
{
    PhonebookEntry e;
    e.number = serial;
    e.text = "WMSN";
    return e;
}

const PhonebookEntry *FindPhonebookEntry(const std::vector<PhonebookEntry> &entries, const std::string &store,
                                         int index)
{
    for (const PhonebookEntry &e : entries)
        if (e.store == store && e.index == index)
            return &e;
    return nullptr;
}

const char *FakeModelName(FakeModel model)
{
    for (const ModelName &m : kModelNames)
        if (m.model == model)
            return m.name;
    return "?";
}

bool FakeModelFromName(const std::string &name, FakeModel *model)
{
    for (const ModelName &m : kModelNames)
        if (name == m.name) {
            *model = m.model;
            return true;
        }
    return false;
}

const char *FakeBaudName(FakeBaud baud)
{
    for (const BaudName &b : kBaudNames)
        if (b.baud == baud)
            return b.name;
    return "?";
}

bool FakeBaudFromName(const std::string &name, FakeBaud *baud)
{
    for (const BaudName &b : kBaudNames)
        if (name == b.name) {
            *baud = b.baud;
            return true;
        }
    return false;
}

std::string FakeConfigsToJson(const std::vector<FakeConfig> &configs)
{
    Json::Value root;
    root["fakes"] = Json::Value(Json::arrayValue);
    for (const FakeConfig &c : configs) {
        Json::Value v;
        v["model"] = FakeModelName(c.model);
        v["baud"] = FakeBaudName(c.baud);
        v["echo"] = c.echo;
        v["uartBridge"] = c.uartBridge;
        v["imei"] = c.imei;
        v["iccid"] = c.iccid;
        v["csq"] = c.csq;
        v["smsc"] = c.smsc;
        v["productSerial"] = c.productSerial;
        v["record"] = c.record;
        v["phonebookFile"] = c.phonebookFile;
        v["faults"] = FaultsToJson(c.faults);
        v["messages"] = Json::Value(Json::arrayValue);
        for (const StoredMessage &m : c.messages)
            v["messages"].append(MessageToJson(m));
        v["phonebook"] = PhonebookEntriesToJson(c.phonebook);
        root["fakes"].append(v);
    }
    return WriteJson(root);
}

bool FakeConfigsFromJson(const std::string &json, std::vector<FakeConfig> *configs, std::string *error)
{
    Json::Value root;
    if (!ParseJson(json, &root, error))
        return false;
    Reader r(root, "config", error);
    const Json::Value *fakes = r.Array("fakes");
    r.Finish();
    if (!r.Ok())
        return false;
    if (!fakes) {
        if (error)
            *error = "config: no \"fakes\" list";
        return false;
    }
    configs->clear();
    for (Json::ArrayIndex i = 0; i < fakes->size(); ++i) {
        FakeConfig c;
        if (!ReadConfig((*fakes)[i], "fakes[" + std::to_string(i) + "]", &c, error))
            return false;
        configs->push_back(c);
    }
    return true;
}

std::string PhonebookToJson(const std::vector<PhonebookEntry> &entries)
{
    Json::Value root;
    root["phonebook"] = PhonebookEntriesToJson(entries);
    return WriteJson(root);
}

bool PhonebookFromJson(const std::string &json, std::vector<PhonebookEntry> *entries, std::string *error)
{
    Json::Value root;
    if (!ParseJson(json, &root, error))
        return false;
    Reader r(root, "phonebook file", error);
    const Json::Value *list = r.Array("phonebook");
    r.Finish();
    if (r.Ok() && !list)
        r.Fail("no \"phonebook\" list");
    return r.Ok() && ReadPhonebookEntries(list, "phonebook", entries, error);
}
