vs.1.1
mov	a0.x, v1.y
m4x3	r0.xyz, v0, c[a0.x + 4]
mul	r4.xyz, r0.xyz, v1.xxx
mov	a0.x, v2.y
m4x3	r0.xyz, v0, c[a0.x + 4]
mad	r4.xyz, r0.xyz, v2.xxx, r4.xyz
sge	r4.w, r4.x, r4.x
m4x4	r2, r4, c0
mov	oPos, r2
sub	r0, r2.w, c10.y
mul	oD0, r0, c10.x
