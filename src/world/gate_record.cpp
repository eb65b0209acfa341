// gate_record
