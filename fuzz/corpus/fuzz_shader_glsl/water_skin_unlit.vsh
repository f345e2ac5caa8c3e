vs.1.1
mov	r6.x, c4.y
mov	a0.x, v2.y
m4x3	r0.xyz, v0, c[a0.x + 5]
mul	r4.xyz, r0.xyz, v2.xxx
sub	r6.x, r6.x, v2.x
mov	a0.x, v3.y
m4x3	r0.xyz, v0, c[a0.x + 5]
mad	r4.xyz, r0.xyz, v3.xxx, r4.xyz
sub	r6.x, r6.x, v3.x
mad	r4.xyz, v0, r6.xxx, r4.xyz
sge	r4.w, r4.x, r4.x
m4x4	r2, r4, c0
mov	oPos, r2
mov	oD0.rgba, c4.y
