// The editor model.
