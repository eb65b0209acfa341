// townsfolk_record
