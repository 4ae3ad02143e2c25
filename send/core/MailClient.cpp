#include "send/core/MailClient.h"

MailClient::~MailClient() = default;
