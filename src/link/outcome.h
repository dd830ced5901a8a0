// How a device sequence ended. Each failure maps to exactly one message box.
#pragma once

namespace kalvo {

enum class Outcome {
    Ok,
    LinkFailure,      // no or wrong echo, time-out, port lost: "msg"
    WrongTransducer,  // variant or rating does not fit the record: "msg_prog_err"
    NeverProgrammed,  // erased data area on read-back: "msg_para"
    BadReply,         // a reply the program cannot use (too few fields, no marker ...): "msg"
    BadRecord,        // the record itself cannot be sent (impossible counts, a transformer
                      // value of 0): a box naming what is wrong
    Cancelled,        // the user stopped the sequence: no message
};

}  // namespace kalvo
