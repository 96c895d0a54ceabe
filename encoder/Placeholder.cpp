// Placeholder until the folder's first source lands; delete it then.
